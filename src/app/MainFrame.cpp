// CMainFrame: the window, its bars, fullscreen mode and the routing of commands.
#include "app/MainFrame.h"

#include "app/Commands.h"
#include "app/ProgressColors.h"
#include "app/ToolbarIcons.h"
#include "settings/Option.h"
#include "settings/OptionDlg.h"
#include "settings/RecentBooks.h"
#include "sources/NameEncoding.h"
#include "widgets/AboutDlg.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// The page pane is as wide as this many blanks, room for the page counter.
constexpr int kPagePaneBlanks = 18;
constexpr int kProgressPaneWidth = 200;
constexpr int kStartupDelayMs = 10;

const char* const kIdleText = "준비";
const char* const kNoRecentBooksText = "최근에 읽은 책 없음";
const char* const kClearRecentText = "최근 목록 지우기";

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

CMainFrame::CMainFrame(const std::string& bookPath, QWidget* parent)
    : QMainWindow(parent), m_view(this), m_bookPath(bookPath) {
    setWindowTitle(AppTitle());
    m_view.SetFrame(this);
    setCentralWidget(&m_view);
    setFocusProxy(&m_view);

    CreateActions();
    CreateToolBar();
    CreateRecentMenu();
    CreateStatusBar();

    m_idleUpdate.setSingleShot(true);
    m_idleUpdate.setInterval(0);
    connect(&m_idleUpdate, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    qApp->installEventFilter(this);

    m_startupTimer.setSingleShot(true);
    connect(&m_startupTimer, &QTimer::timeout, this, &CMainFrame::OpenStartupBook);
    m_startupTimer.start(kStartupDelayMs);

    UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& command : CommandTable()) {
        auto* action = new QAction(ToolbarIcon(command.id), ToolTipText(command), this);
        action->setStatusTip(StatusText(command));
        action->setToolTip(ToolTipText(command));
        action->setCheckable(IsCheckable(command));
        action->setShortcuts(ShortcutsFor(command.id));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(command.id);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        // Added to the window itself so that the keys work while the toolbar is hidden.
        addAction(action);
        m_actions[id] = action;
    }
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolbar"));
    m_toolBar->setMovable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setIconSize(kToolbarIconSize);
    m_toolBar->toggleViewAction()->setVisible(false);
    for (const int id : ToolbarLayout()) {
        if (id == kToolbarSeparator)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions.at(id));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::CreateRecentMenu() {
    m_recentMenu = new QMenu(this);
    m_recentMenu->setObjectName(QStringLiteral("recentBooks"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CMainFrame::FillRecentMenu);
    for (const int id : {ID_OPEN_FILE, ID_OPEN_FOLDER, ID_OPEN_ARCHIVE}) {
        if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(m_actions.at(id)))) {
            button->setMenu(m_recentMenu);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
}

void CMainFrame::FillRecentMenu() {
    m_recentMenu->clear();
    int number = 0;
    for (const RecentBook& book : g_recentBooks.Books()) {
        const std::string path = book.path;
        const QString shown = QString::fromStdString(DisplayPathFromBytes(path));
        // The number is the entry's mnemonic; an ampersand of the path is shown as it is.
        QAction* entry = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(++number % 10).arg(QString(shown).replace(u'&', QStringLiteral("&&"))));
        connect(entry, &QAction::triggered, this, [this, path] { m_view.OpenRecentBook(path); });
    }
    if (number == 0)
        m_recentMenu->addAction(QString::fromUtf8(kNoRecentBooksText))->setEnabled(false);
    m_recentMenu->addSeparator();
    QAction* clear = m_recentMenu->addAction(QString::fromUtf8(kClearRecentText));
    clear->setEnabled(number > 0);
    connect(clear, &QAction::triggered, this, [] {
        g_recentBooks.Clear();
        g_recentBooks.Save();
    });
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusbar"));
    // The idle text lies under the fly-by texts: a status tip hides it while it shows.
    bar->addWidget(new QLabel(QString::fromUtf8(kIdleText), bar), 1);

    m_pagePane = new QLabel(bar);
    m_pagePane->setAlignment(Qt::AlignCenter);
    m_pagePane->setMinimumWidth(m_pagePane->fontMetrics().horizontalAdvance(QString(kPagePaneBlanks, u' ')));
    bar->addPermanentWidget(m_pagePane);

    m_progress = new QProgressBar(bar);
    m_progress->setFixedWidth(kProgressPaneWidth);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    QPalette colours = m_progress->palette();
    ApplyProgressColors(QApplication::palette("QMenu"), colours);
    m_progress->setPalette(colours);
    bar->addPermanentWidget(m_progress);
}

void CMainFrame::ShowFrame() {
    // A first window takes three quarters of the screen, as a desktop's default placement does.
    if (!testAttribute(Qt::WA_Resized))
        resize(QGuiApplication::primaryScreen()->availableSize() * 3 / 4);
    if (g_option.bIsMaximized)
        showMaximized();
    else
        show();
    m_view.setFocus();
}

QAction* CMainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainFrame::ExecuteCommand(int id) {
    const CommandInfo* command = FindCommand(id);
    if (command == nullptr || !IsCommandEnabled(*command, *this))
        return false;
    if (command->handler)
        command->handler(*this);
    UpdateCommandUI();
    return true;
}

void CMainFrame::UpdateCommandUI() {
    for (const CommandInfo& command : CommandTable()) {
        QAction* action = m_actions.at(command.id);
        action->setEnabled(IsCommandEnabled(command, *this));
        if (IsCheckable(command))
            action->setChecked(IsCommandChecked(command, *this));
    }
}

void CMainFrame::PostCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { ExecuteCommand(id); }, Qt::QueuedConnection);
}

void CMainFrame::ShowPageStatus(const QString& title) {
    setWindowTitle(title);
    m_pagePane->setText(m_view.GetPageCounterText());
    m_pagePane->repaint();
}

void CMainFrame::SetProgressPos(int position) {
    m_progress->setValue(position);
}

void CMainFrame::OpenStartupBook() {
    if (!m_bookPath.empty())
        m_view.OpenCommandLinePath(m_bookPath);
}

void CMainFrame::TurnPage(bool forward) {
    m_view.TurnPage(forward);
}
void CMainFrame::OnPagePrev() {
    m_view.OnPagePrev();
}
void CMainFrame::OnPageNext() {
    m_view.OnPageNext();
}
void CMainFrame::OnPrev10() {
    m_view.OnPrev10();
}
void CMainFrame::OnNext10() {
    m_view.OnNext10();
}
void CMainFrame::OnFlip() {
    m_view.OnFlip();
}
void CMainFrame::OnView2Page() {
    m_view.OnView2Page();
}
void CMainFrame::OnInterpolation() {
    m_view.OnInterpolation();
}
void CMainFrame::OnZoomToggle() {
    m_view.OnZoomToggle();
}
void CMainFrame::SelectPage() {
    m_view.SelectPage();
}
void CMainFrame::OnOpenFile() {
    m_view.OnOpenFile();
}
void CMainFrame::OnOpenFolder() {
    m_view.OnOpenFolder();
}
void CMainFrame::OnOpenArchive() {
    m_view.OnOpenArchive();
}
void CMainFrame::OnSharpen() {
    m_view.OnSharpen();
}
void CMainFrame::OnRotate() {
    m_view.OnRotate();
}

void CMainFrame::OnFullScreen() {
    if (m_bFullScreen)
        LeaveFullScreen();
    else
        EnterFullScreen();
}

void CMainFrame::EnterFullScreen() {
    m_bFullScreen = true;
    m_rcSaved = geometry();
    // A maximized window would be held to the work area; it is maximized again on leaving.
    m_bWasMaximized = isMaximized();
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setWindowFlag(Qt::FramelessWindowHint, true);
    PostCommand(ID_VIEW_TOOLBAR);
    PostCommand(ID_VIEW_STATUS_BAR);
    setGeometry(QGuiApplication::primaryScreen()->geometry());
    ShowRecreatedWindow();
    // Building a message window once (it is never shown) warms the font and style caches,
    // so that the first notice over the fullscreen window appears without a pause.
    GMessageBoxWnd warmUp;
    warmUp.Create(this, QString(), QString(), 0, 0, 0);
}

void CMainFrame::LeaveFullScreen() {
    m_bFullScreen = false;
    setWindowFlag(Qt::FramelessWindowHint, false);
    PostCommand(ID_VIEW_TOOLBAR);
    PostCommand(ID_VIEW_STATUS_BAR);
    setGeometry(m_rcSaved);
    if (m_bWasMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    ShowRecreatedWindow();
}

void CMainFrame::ShowRecreatedWindow() {
    // Changing the frame flags hides the window and makes a new native one. Qt's window
    // layer still counts it as the focused window, so the widget layer would never hear
    // that it is active again and keys would reach no widget: tell it.
    show();
    raise();
    if (QGuiApplication::focusWindow() == windowHandle())
        QApplication::setActiveWindow(this);
    else
        activateWindow();
}

void CMainFrame::OnOption() {
    COptionDlg dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        m_view.OnOptionsChanged();
}

void CMainFrame::OnViewToolBar() {
    m_toolBar->setVisible(m_toolBar->isHidden());
}
void CMainFrame::OnViewStatusBar() {
    statusBar()->setVisible(statusBar()->isHidden());
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnRecentBooks() {
    // Under the open buttons while the toolbar shows, else at the view's top left corner.
    QWidget* button = m_toolBar->isHidden() ? nullptr : m_toolBar->widgetForAction(m_actions.at(ID_OPEN_FILE));
    m_recentMenu->popup(button ? button->mapToGlobal(QPoint(0, button->height())) : m_view.mapToGlobal(QPoint(0, 0)));
}

void CMainFrame::OnAppExit() {
    close();
}

bool CMainFrame::IsFullScreen() const {
    return m_bFullScreen;
}
bool CMainFrame::IsToolBarVisible() const {
    return !m_toolBar->isHidden();
}
bool CMainFrame::IsStatusBarVisible() const {
    return !statusBar()->isHidden();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    g_option.bIsMaximized = isMaximized() ? 1 : 0;
    m_view.LeaveBook();
    QMainWindow::closeEvent(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (IsInputEvent(event->type()))
        m_idleUpdate.start();
    return QMainWindow::eventFilter(watched, event);
}
