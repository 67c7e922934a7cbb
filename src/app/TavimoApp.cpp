// CTavimoApp: start-up and end of the program.
#include "app/TavimoApp.h"

#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "settings/Option.h"
#include "settings/RecentBooks.h"
#include "widgets/MessageBox.h"

// QApplication takes its own options out of `argv`; what is left names the book.
CTavimoApp::CTavimoApp(int& argc, char** argv)
    : m_app(argc, argv), m_bookPath(BookPathBytesFromArguments(argc, argv)) {}

CTavimoApp::~CTavimoApp() = default;

bool CTavimoApp::InitInstance() {
    SetAppTitle(QStringLiteral("Tavimo"));
    // Lets the desktop match the window to its launcher entry (Wayland's app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("tavimo"));
    QApplication::setWindowIcon(AppIcon());
    g_option.Load();
    g_recentBooks.Load();
    m_pMainWnd = std::make_unique<CMainFrame>(m_bookPath);
    m_pMainWnd->ShowFrame();
    return true;
}

int CTavimoApp::Run() {
    return ExitInstance(QApplication::exec());
}

int CTavimoApp::ExitInstance(int exitCode) {
    g_option.Save();
    return exitCode;
}
