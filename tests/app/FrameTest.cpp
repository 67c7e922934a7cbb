// The main window over a real view: the bars, fullscreen, the maximized state kept over
// closing, commands checked when delivered, keys caught before the view, start-up and the
// options redraw; and special files (pipes, sockets, devices) under book and page names,
// refused at once with the usual message while reading goes on.
#include "AnswerModal.h"
#include "DropPaths.h"
#include "ImageFixtures.h"
#include "OptionSwitches.h"
#include "SpecialFiles.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/ProgressColors.h"
#include "settings/OptionDlg.h"
#include "view/Messages.h"
#include "widgets/AboutDlg.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

// Polls the event loop until the condition holds, for five seconds at most; unlike QTRY_*,
// the result reaches GoogleTest.
using QTest::qWaitFor;

// A folder of the numbered pages p1.jpg and p3.jpg.
std::string WriteBook(const QTemporaryDir& dir) {
    EXPECT_TRUE(QDir().mkpath(dir.filePath("book")));
    for (const int n : {1, 3})
        EXPECT_TRUE(fixtures::WriteFile(dir.filePath(QStringLiteral("book/p%1.jpg").arg(n)).toStdString(),
                                        fixtures::EncodeJpeg(fixtures::NumberedPage(120, 160, n))));
    return dir.filePath("book").toStdString();
}

class FrameTest : public ::testing::Test {
protected:
    // Every message is recorded, with the time it came after the clock's last start.
    void SetUp() override {
        SetGMessageBoxHook([this](const GMessageBoxCall& call) {
            messages.push_back(call.text);
            answeredAfterMs = clock.elapsed();
            return int(IDOK);
        });
        clock.start();
    }
    void TearDown() override {
        frame.reset();
        for (const QString& text : messages) // nothing the window does here is worth a message
            ADD_FAILURE() << "unexpected message: " << text.toStdString();
        SetGMessageBoxHook(nullptr);
    }
    CMainFrame& ShowFrame(const std::string& bookPath = {}) {
        frame = std::make_unique<CMainFrame>(bookPath);
        frame->setGeometry(100, 80, 640, 480);
        frame->ShowFrame();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        return *frame;
    }
    bool Shows(int page) const { return frame->windowTitle().endsWith(QString("p%1.jpg]").arg(page)); }

    OptionSwitches keep;
    std::vector<QString> messages;
    QElapsedTimer clock;
    qint64 answeredAfterMs = -1;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(FrameTest, FullscreenFocusesTheViewAndLeavingRestoresBarsAndTheMaximizedStateThatClosingRecords) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const auto viewFocused = [&] { return QApplication::focusWidget() == static_cast<QWidget*>(&f.View()); };
    EXPECT_TRUE(qWaitFor(viewFocused)) << "activating the window focuses the view";
    for (const bool toolbarHidden : {false, true}) {
        f.ExecuteCommand(ID_FULLSCREEN);
        EXPECT_TRUE(f.IsFullScreen() && f.Action(ID_FULLSCREEN)->isChecked());
        EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
        // A toolbar hidden before is shown in fullscreen, and hidden again after.
        EXPECT_TRUE(
            qWaitFor([&] { return f.ToolBar()->isHidden() != toolbarHidden && f.statusBar()->isHidden(); }));
        EXPECT_TRUE(qWaitFor(viewFocused));
        f.ExecuteCommand(ID_FULLSCREEN);
        EXPECT_FALSE(f.IsFullScreen() || (f.windowFlags() & Qt::FramelessWindowHint));
        EXPECT_TRUE(
            qWaitFor([&] { return f.ToolBar()->isHidden() == toolbarHidden && !f.statusBar()->isHidden(); }));
        EXPECT_TRUE(f.ExecuteCommand(ID_VIEW_TOOLBAR));
        EXPECT_EQ(f.Action(ID_VIEW_TOOLBAR)->isChecked(), toolbarHidden)
            << "the toolbar toggle shows its state";
    }
    f.showMaximized();
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_FALSE(f.isMaximized());
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_TRUE(f.isMaximized());
    // The state is recorded on closing and starts the next window.
    for (const bool maximized : {true, false}) {
        if (!maximized)
            frame->showNormal();
        frame->close();
        EXPECT_EQ(g_option.bIsMaximized, maximized);
        EXPECT_EQ(ShowFrame().isMaximized(), maximized);
    }
}

TEST_F(FrameTest, CommandsAreCheckedWhenDeliveredAndKeysReachTheTableBeforeTheView) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    g_option.bSharpen = 0;
    // Each round ends with the toolbar toggle, always enabled, which marks that Sharpen was delivered.
    for (const auto& [fittingWhenPosted, hidden] : {std::pair{0, true}, std::pair{1, false}}) {
        g_option.bStretech = fittingWhenPosted;
        f.PostCommand(ID_SHARPEN);
        g_option.bStretech = 0;
        f.PostCommand(ID_VIEW_TOOLBAR);
        EXPECT_TRUE(qWaitFor([&, hidden = hidden] { return f.ToolBar()->isHidden() == hidden; }));
        EXPECT_EQ(g_option.bSharpen, 0);
    }
    g_option.bStretech = 1;
    f.PostCommand(ID_SHARPEN);
    EXPECT_TRUE(qWaitFor([&] { return g_option.bSharpen == 1; }));
    g_option.bView2Page = 0;
    f.UpdateCommandUI();
    ASSERT_FALSE(f.Action(ID_FLIP)->isEnabled());
    QTest::keyClick(&f.View(), Qt::Key_2); // straight to the view's handler, past the command table
    EXPECT_EQ(g_option.bView2Page, 1);
    EXPECT_TRUE(
        qWaitFor([&] { return f.Action(ID_FLIP)->isEnabled() && f.Action(ID_VIEW_2PAGE)->isChecked(); }));
    f.ExecuteCommand(ID_VIEW_TOOLBAR);
    ASSERT_TRUE(f.ToolBar()->isHidden());
    g_option.bRotate = 0;
    QTest::keyClick(&f.View(), Qt::Key_R); // the table's key, not the view's: the hidden toolbar holds none
    EXPECT_TRUE(g_option.bRotate == 1 && f.Action(ID_ROTATE)->isChecked());
}

TEST_F(FrameTest, BarsShowButtonsFlyByTextsAndLoadTheStartUpBookOpensAndOptionsAboutAndExitWork) {
    QTemporaryDir dir;
    CMainFrame& f = ShowFrame(WriteBook(dir));
    EXPECT_TRUE(qWaitFor([&] { return f.View().m_pageList.size() == 2u && Shows(1); }));
    EXPECT_EQ(f.PagePane()->text(), f.View().GetPageCounterText());
    std::vector<int> shown;
    for (QAction* action : f.ToolBar()->actions())
        shown.push_back(action->isSeparator() ? kToolbarSeparator : action->data().toInt());
    EXPECT_EQ(shown, std::vector<int>(ToolbarLayout().begin(), ToolbarLayout().end()));
    EXPECT_EQ(f.Action(ID_FULLSCREEN)->toolTip(), QString::fromUtf8("풀스크린(ESC,F)"));
    QLabel* idle = nullptr;
    for (QLabel* label : f.statusBar()->findChildren<QLabel*>())
        idle = label->text() == QString::fromUtf8("준비") && label->isVisible() ? label : idle;
    ASSERT_NE(idle, nullptr);
    f.Action(ID_FULLSCREEN)->showStatusText(&f);
    EXPECT_TRUE(f.statusBar()->currentMessage() == QString::fromUtf8("풀스크린") && !idle->isVisible());
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&f, &leave);
    EXPECT_TRUE(idle->isVisible()) << "the idle text comes back when the fly-by text ends";
    EXPECT_GE(f.PagePane()->width(), f.PagePane()->fontMetrics().horizontalAdvance(QString(18, u' ')));
    EXPECT_EQ(f.ProgressBar()->width(), 200);
    EXPECT_EQ(f.ProgressBar()->palette().color(QPalette::Highlight),
              ProgressBarColor(QApplication::palette("QMenu").color(QPalette::Light)));
    ProgressCallback(3, 4, static_cast<CFrameHost*>(&f));
    EXPECT_EQ(f.ProgressBar()->value(), 75);
    for (const bool confirm : {false, true}) { // OK redraws even with nothing changed
        f.setWindowTitle(QStringLiteral("stale"));
        EXPECT_TRUE(fixtures::RunAnsweringModal<COptionDlg>(
            [&] { f.ExecuteCommand(ID_OPTION); },
            [&](COptionDlg& dialog) { (confirm ? dialog.OkButton() : dialog.CancelButton())->click(); }));
        EXPECT_EQ(Shows(1), confirm) << f.windowTitle().toStdString();
    }
    QWidget* parent = nullptr;
    EXPECT_TRUE(fixtures::RunAnsweringModal<CAboutDlg>([&] { f.ExecuteCommand(ID_APP_ABOUT); },
                                                       [&](CAboutDlg& dialog) {
                                                           parent = dialog.parentWidget();
                                                           dialog.OkButton()->click();
                                                       }));
    EXPECT_EQ(parent, &f);
    EXPECT_TRUE(f.ExecuteCommand(ID_APP_EXIT));
    EXPECT_FALSE(f.isVisible());
}

// The name a special file stands under (a page between two real ones, or a book), what the
// program says when it cannot open it, and whether it comes by a drop or the command line.
// A row stuck in a blocking call, reading or painting, fails by the program's time limit.
using SpecialRow = std::tuple<fixtures::SpecialFile, std::pair<const char*, const char*>, bool>;
class SpecialFileRow : public FrameTest, public ::testing::WithParamInterface<SpecialRow> {};

TEST_P(SpecialFileRow, IsRefusedAtOnceWithTheMessageAndReadingGoesOn) {
    const auto& [kind, name, byDrop] = GetParam();
    SetPlainSwitches();
    g_option.bCacheNextFile = 1; // the preparation tick reads the special page as well
    QTemporaryDir dir;
    const std::string book = WriteBook(dir), page = book + "/p2.jpg";
    const bool isPage = std::string(name.first) == "p2.jpg";
    const std::string special = isPage ? page : dir.filePath(name.first).toStdString();
    ASSERT_TRUE(kind.make(special)) << special;
    const auto turn = [&] {
        ASSERT_TRUE(qWaitFor([&] { return !frame->View().m_bBusy; }));
        clock.restart();
        frame->View().TurnPage(true);
    };
    clock.restart();
    ShowFrame(isPage || byDrop ? book : special);
    ASSERT_TRUE(qWaitFor([&] { return !frame->IsStartupPending() && ((!isPage && !byDrop) || Shows(1)); }));
    if (byDrop) {
        clock.restart();
        ASSERT_TRUE(
            fixtures::DropPaths(&frame->View(), isPage ? std::vector{book + "/p1.jpg", page, book + "/p3.jpg"}
                                                       : std::vector{special}));
        ASSERT_TRUE(!isPage || qWaitFor([&] { return Shows(1); }));
    }
    if (isPage) // the book opens on its first page; the turn onto the special page is refused
        turn();
    EXPECT_EQ(messages, std::vector{QString::fromUtf8(name.second)});
    EXPECT_LT(answeredAfterMs, 1000);
    messages.clear();
    if (frame->View().m_pageList.empty()) { // nothing was open before: the next book still opens
        ASSERT_TRUE(fixtures::DropPaths(&frame->View(), {book}));
        ASSERT_TRUE(qWaitFor([&] { return Shows(1); }));
    }
    turn();
    EXPECT_TRUE(qWaitFor([&] { return Shows(3); })) << frame->windowTitle().toStdString();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(frame->close()); // true only when the window did close
}

const std::pair<const char*, const char*> kSpecialNames[] = {{"book.zip", viewtext::kZipCannotOpen},
                                                             {"book.pco", viewtext::kPcoCannotOpen},
                                                             {"book.cb7", viewtext::kArchiveCannotOpen},
                                                             {"p2.jpg", viewtext::kOpenFailed}};
INSTANTIATE_TEST_SUITE_P(SpecialFiles, SpecialFileRow,
                         ::testing::Combine(::testing::ValuesIn(fixtures::kSpecialFiles),
                                            ::testing::ValuesIn(kSpecialNames), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<SpecialRow>& info) {
                             std::string label = std::get<0>(info.param).name + std::string("_") +
                                                 std::get<1>(info.param).first;
                             std::replace(label.begin(), label.end(), '.', '_');
                             return label + (std::get<2>(info.param) ? "_Drop" : "_CommandLine");
                         });

} // namespace
