#include "ViewTestSupport.h"

#include "settings/RecentBooks.h"

#include <QApplication>

namespace viewtest {

MessageRecorder::MessageRecorder() {
    SetGMessageBoxHook([this](const GMessageBoxCall& call) { return calls.push_back(call), int(IDOK); });
}

MessageRecorder::~MessageRecorder() {
    SetGMessageBoxHook(nullptr);
}

std::vector<QString> MessageRecorder::Texts() const {
    std::vector<QString> texts;
    for (const GMessageBoxCall& call : calls)
        texts.push_back(call.text);
    return texts;
}

void ViewTest::SetUp() {
    static int argc = 1;
    static char name[] = "view-tests", *argv[] = {name, nullptr};
    // Never destroyed: Qt's input devices are torn down by other exit handlers first, and
    // an application destroyed after them crashes at exit.
    static QApplication* app = new QApplication(argc, argv);
    ASSERT_TRUE(app && m_dir.isValid());
    SetPlainSwitches();
    g_option.sRecentFolder.clear();
    g_recentBooks.Load(), g_recentBooks.Clear(), g_recentBooks.Save(); // nothing read yet
    m_frame.titles.clear(), m_frame.progress.clear(), m_frame.posted.clear();
    m_messages = std::make_unique<MessageRecorder>();
    m_view = std::make_unique<CTavimoView>();
    m_view->SetFrame(&m_frame);
    m_view->m_dialogs = ViewDialogs{};
    m_view->resize(200, 150);
}

} // namespace viewtest
