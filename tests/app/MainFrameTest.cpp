// The main window: fullscreen and the bars, the maximized state kept over closing, commands
// checked when delivered, keys caught before the view, start-up and the options redraw.
#include "AnswerModal.h"
#include "FrameFixture.h"
#include "ImageFixtures.h"
#include "app/Commands.h"
#include "app/ProgressColors.h"
#include "settings/OptionDlg.h"
#include "widgets/AboutDlg.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTemporaryDir>

using FrameTest = FrameFixture;

TEST_F(FrameTest, BarsShowTheButtonsTheFlyByTextsTheLoadAndAboutAndExitWorkOverTheWindow) {
    CMainFrame& f = ShowFrame();
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
    const QPalette menu = QApplication::palette("QMenu");
    EXPECT_EQ(f.ProgressBar()->palette().color(QPalette::Highlight),
              ProgressBarColor(menu.color(QPalette::Light)));
    ProgressCallback(3, 4, static_cast<CFrameHost*>(&f));
    EXPECT_EQ(f.ProgressBar()->value(), 75);

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

TEST_F(FrameTest, FullscreenCoversTheScreenWithTheViewFocusedAndLeavingRestoresWindowAndBars) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const auto viewFocused = [&] { return QApplication::focusWidget() == static_cast<QWidget*>(&f.View()); };
    EXPECT_TRUE(WaitUntil(viewFocused)) << "activating the window focuses the view";
    for (const bool toolbarHidden : {false, true}) {
        f.ExecuteCommand(ID_FULLSCREEN);
        EXPECT_TRUE(f.IsFullScreen() && f.Action(ID_FULLSCREEN)->isChecked());
        EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
        // A toolbar hidden before is shown in fullscreen, and hidden again after.
        EXPECT_TRUE(
            WaitUntil([&] { return f.ToolBar()->isHidden() != toolbarHidden && f.statusBar()->isHidden(); }));
        EXPECT_TRUE(WaitUntil(viewFocused));
        f.ExecuteCommand(ID_FULLSCREEN);
        EXPECT_FALSE(f.IsFullScreen() || (f.windowFlags() & Qt::FramelessWindowHint));
        EXPECT_TRUE(WaitUntil(
            [&] { return f.ToolBar()->isHidden() == toolbarHidden && !f.statusBar()->isHidden(); }));
        EXPECT_TRUE(f.ExecuteCommand(ID_VIEW_TOOLBAR));
        EXPECT_EQ(f.Action(ID_VIEW_TOOLBAR)->isChecked(), toolbarHidden)
            << "the toolbar toggle shows its state";
    }
}

TEST_F(FrameTest, MaximizedStateSurvivesFullscreenIsRecordedOnClosingAndStartsTheNextWindow) {
    CMainFrame& f = ShowFrame();
    f.showMaximized();
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_FALSE(f.isMaximized());
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_TRUE(f.isMaximized());
    f.close();
    EXPECT_EQ(g_option.bIsMaximized, 1);
    EXPECT_TRUE(ShowFrame().isMaximized());
    frame->showNormal();
    frame->close();
    EXPECT_EQ(g_option.bIsMaximized, 0);
    EXPECT_FALSE(ShowFrame().isMaximized());
}

TEST_F(FrameTest, PostedCommandsAreCheckedWhenDeliveredAndButtonsFollowTheViewsOwnKeys) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    g_option.bSharpen = 0;
    // Each round ends with the toolbar toggle, always enabled, which marks that Sharpen was delivered.
    for (const auto& [fittingWhenPosted, hidden] : {std::pair{0, true}, std::pair{1, false}}) {
        g_option.bStretech = fittingWhenPosted;
        f.PostCommand(ID_SHARPEN);
        g_option.bStretech = 0;
        f.PostCommand(ID_VIEW_TOOLBAR);
        EXPECT_TRUE(WaitUntil([&, hidden = hidden] { return f.ToolBar()->isHidden() == hidden; }));
        EXPECT_EQ(g_option.bSharpen, 0);
    }
    g_option.bStretech = 1;
    f.PostCommand(ID_SHARPEN);
    EXPECT_TRUE(WaitUntil([&] { return g_option.bSharpen == 1; }));

    g_option.bView2Page = 0;
    f.UpdateCommandUI();
    ASSERT_FALSE(f.Action(ID_FLIP)->isEnabled());
    QTest::keyClick(&f.View(), Qt::Key_2); // straight to the view's handler, past the command table
    EXPECT_EQ(g_option.bView2Page, 1);
    EXPECT_TRUE(
        WaitUntil([&] { return f.Action(ID_FLIP)->isEnabled() && f.Action(ID_VIEW_2PAGE)->isChecked(); }));
}

TEST_F(FrameTest, AcceleratorsAreCaughtBeforeTheViewEvenWithTheToolbarHidden) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.ExecuteCommand(ID_VIEW_TOOLBAR);
    g_option.bRotate = 0;
    QTest::keyClick(&f.View(), Qt::Key_R); // the table's key, not the view's: the toolbar holds none
    EXPECT_TRUE(g_option.bRotate == 1 && f.Action(ID_ROTATE)->isChecked());
    // Edit and pane keys are swallowed: Shift+Delete and the Insert pairs must not turn pages.
    for (const auto& [key, modifier] : {std::pair{Qt::Key_Insert, Qt::ShiftModifier},
                                        {Qt::Key_Insert, Qt::ControlModifier},
                                        {Qt::Key_Delete, Qt::ShiftModifier},
                                        {Qt::Key_C, Qt::ControlModifier},
                                        {Qt::Key_F6, Qt::NoModifier}})
        QTest::keyClick(&f.View(), key, modifier);
    EXPECT_TRUE(messages.empty());
    QTest::keyClick(&f.View(), Qt::Key_Delete); // turns the page: with no book open the reader is told so
    EXPECT_EQ(messages.size(), 1u);
    messages.clear();
}

TEST_F(FrameTest, OpensTheBookNamedAtStartUpAndOptionsRedrawItWhenConfirmedNotWhenCancelled) {
    QTemporaryDir book;
    for (int number = 1; number <= 3; ++number)
        ASSERT_TRUE(fixtures::WriteFile(book.filePath(QStringLiteral("p%1.jpg").arg(number)).toStdString(),
                                        fixtures::EncodeJpeg(fixtures::NumberedPage(120, 160, number))));
    CMainFrame& f = ShowFrame(book.path());
    EXPECT_TRUE(WaitUntil([&] {
        return f.View().m_pageList.size() == 3u && f.windowTitle().contains(QStringLiteral("p1.jpg"));
    }));
    EXPECT_EQ(f.PagePane()->text(), f.View().GetPageCounterText());
    for (const bool confirm : {false, true}) { // OK redraws even with nothing changed
        f.setWindowTitle(QStringLiteral("stale"));
        EXPECT_TRUE(fixtures::RunAnsweringModal<COptionDlg>(
            [&] { f.ExecuteCommand(ID_OPTION); },
            [&](COptionDlg& dialog) { (confirm ? dialog.OkButton() : dialog.CancelButton())->click(); }));
        EXPECT_EQ(f.windowTitle().contains(QStringLiteral("p1.jpg")), confirm)
            << f.windowTitle().toStdString();
    }
}
