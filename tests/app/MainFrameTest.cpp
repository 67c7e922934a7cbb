// The main window: bars and panes, fullscreen, posted commands, keys, start-up and close.
#include "FrameFixture.h"
#include "ImageFixtures.h"
#include "app/Commands.h"
#include "app/ProgressColors.h"
#include "settings/OptionDlg.h"
#include "widgets/AboutDlg.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace {

// Counts the key presses other than lone modifiers that reach a widget's own handler.
class KeyCounter : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            presses += key != Qt::Key_Shift && key != Qt::Key_Control && key != Qt::Key_Alt;
        }
        return false;
    }
};

// Answers the next modal dialog of type Dialog as soon as it runs; `seen` tells whether it came.
template <typename Dialog>
void AnswerNextDialog(QObject* owner, bool& seen, std::function<void(Dialog&)> answer) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, owner, [poll, &seen, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            seen = true;
            answer(*dialog);
        }
    });
    poll->start(10);
}

// A book of numbered JPEG pages p1.jpg, p2.jpg, ... in a folder of its own.
std::unique_ptr<QTemporaryDir> NumberedBook(int pages) {
    auto folder = std::make_unique<QTemporaryDir>();
    for (int number = 1; number <= pages; ++number) {
        const QString path = folder->filePath(QStringLiteral("p%1.jpg").arg(number));
        if (!fixtures::WriteFile(path.toStdString(),
                                 fixtures::EncodeJpeg(fixtures::NumberedPage(120, 160, number))))
            return nullptr;
    }
    return folder;
}

} // namespace

using FrameBars = FrameFixture;

TEST_F(FrameBars, ToolbarHoldsTheTwentyButtonsInOrderWithTheirTipsAndFlyByTexts) {
    CMainFrame& f = ShowFrame();
    std::vector<int> shown;
    for (QAction* action : f.ToolBar()->actions())
        shown.push_back(action->isSeparator() ? kToolbarSeparator : action->data().toInt());
    EXPECT_EQ(shown, std::vector<int>(ToolbarLayout().begin(), ToolbarLayout().end()));
    EXPECT_TRUE(f.ToolBar()->isMovable());
    EXPECT_EQ(f.ToolBar()->allowedAreas(), Qt::AllToolBarAreas);

    QLabel* idle = nullptr;
    for (QLabel* label : f.statusBar()->findChildren<QLabel*>())
        if (label->text() == QString::fromUtf8("준비") && label->isVisible())
            idle = label;
    ASSERT_NE(idle, nullptr);
    QAction* fullscreen = f.Action(ID_FULLSCREEN);
    EXPECT_EQ(fullscreen->toolTip(), QString::fromUtf8("풀스크린(ESC,F)"));
    fullscreen->showStatusText(&f);
    EXPECT_EQ(f.statusBar()->currentMessage(), QString::fromUtf8("풀스크린"));
    EXPECT_FALSE(idle->isVisible());
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&f, &leave);
    EXPECT_TRUE(f.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(idle->isVisible()) << "the idle text comes back when the fly-by text ends";
}

TEST_F(FrameBars, PagePaneAndProgressBarShowThePageAndTheLoad) {
    CMainFrame& f = ShowFrame();
    EXPECT_GE(f.PagePane()->width(), f.PagePane()->fontMetrics().horizontalAdvance(QString(18, u' ')));
    EXPECT_EQ(f.ProgressBar()->width(), 200);
    EXPECT_EQ(f.ProgressBar()->minimum(), 0);
    EXPECT_EQ(f.ProgressBar()->maximum(), 100);
    const QPalette menu = QApplication::palette("QMenu");
    EXPECT_EQ(f.ProgressBar()->palette().color(QPalette::Highlight), ProgressBarColor(menu.color(QPalette::Light)));
    EXPECT_EQ(f.ProgressBar()->palette().color(QPalette::Window), menu.color(QPalette::Window));
    ProgressCallback(3, 4, static_cast<CFrameHost*>(&f));
    EXPECT_EQ(f.ProgressBar()->value(), 75);

    f.View().m_pageList = {"a.jpg", "b.jpg", "c.jpg"};
    f.View().m_itCurPage = 1;
    f.ShowPageStatus(QStringLiteral("Tavimo [b.jpg]"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Tavimo [b.jpg]"));
    EXPECT_FALSE(f.PagePane()->text().isEmpty());
    EXPECT_EQ(f.PagePane()->text(), f.View().GetPageCounterText());
}

TEST_F(FrameBars, GraveToggleCommandsFlipEachBarOnItsOwn) {
    CMainFrame& f = ShowFrame();
    for (const bool hidden : {true, false}) {
        EXPECT_TRUE(f.ExecuteCommand(ID_VIEW_TOOLBAR));
        EXPECT_EQ(f.ToolBar()->isHidden(), hidden);
        EXPECT_EQ(f.Action(ID_VIEW_TOOLBAR)->isChecked(), !hidden);
        EXPECT_FALSE(f.statusBar()->isHidden());
    }
}

using FrameFullScreen = FrameFixture;

TEST_F(FrameFullScreen, CoversThePrimaryScreenKeepsTheViewFocusedAndLeavingRestoresTheWindow) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const auto viewFocused = [&] { return QApplication::focusWidget() == static_cast<QWidget*>(&f.View()); };
    EXPECT_TRUE(WaitUntil(viewFocused)) << "activating the window focuses the view";
    const QRect before = f.geometry();
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_TRUE(f.IsFullScreen());
    EXPECT_TRUE(f.Action(ID_FULLSCREEN)->isChecked());
    EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(f.geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_TRUE(WaitUntil([&] { return f.ToolBar()->isHidden() && f.statusBar()->isHidden(); }));
    EXPECT_TRUE(WaitUntil(viewFocused));

    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_FALSE(f.IsFullScreen());
    EXPECT_FALSE(f.Action(ID_FULLSCREEN)->isChecked());
    EXPECT_FALSE(f.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(f.geometry(), before);
    EXPECT_TRUE(WaitUntil([&] { return !f.ToolBar()->isHidden() && !f.statusBar()->isHidden(); }));
    EXPECT_TRUE(f.isVisible());
}

TEST_F(FrameFullScreen, AHiddenToolbarIsShownInFullscreenAndHiddenAgainAfter) {
    CMainFrame& f = ShowFrame();
    f.ExecuteCommand(ID_VIEW_TOOLBAR);
    ASSERT_TRUE(f.ToolBar()->isHidden());
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_TRUE(WaitUntil([&] { return !f.ToolBar()->isHidden() && f.statusBar()->isHidden(); }));
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_TRUE(WaitUntil([&] { return f.ToolBar()->isHidden() && !f.statusBar()->isHidden(); }));
}

TEST_F(FrameFullScreen, MaximizedStateSurvivesFullscreenAndIsRecordedOnClosing) {
    CMainFrame& f = ShowFrame();
    f.showMaximized();
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_FALSE(f.isMaximized());
    EXPECT_EQ(f.geometry(), QGuiApplication::primaryScreen()->geometry());
    f.ExecuteCommand(ID_FULLSCREEN);
    EXPECT_TRUE(f.isMaximized());
    f.close();
    EXPECT_EQ(g_option.bIsMaximized, 1);
    f.showNormal();
    f.close();
    EXPECT_EQ(g_option.bIsMaximized, 0);
}

using FrameCommands = FrameFixture;

TEST_F(FrameCommands, PostedCommandsAreCheckedWhenDeliveredNotWhenPosted) {
    CMainFrame& f = ShowFrame();
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
}

TEST_F(FrameCommands, ButtonStatesFollowSwitchesChangedByTheViewsOwnKeys) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    g_option.bView2Page = 0;
    f.UpdateCommandUI();
    ASSERT_FALSE(f.Action(ID_FLIP)->isEnabled());
    // Key 2 goes straight to the view's handler, past the command table.
    QTest::keyClick(&f.View(), Qt::Key_2);
    EXPECT_EQ(g_option.bView2Page, 1);
    EXPECT_TRUE(WaitUntil([&] { return f.Action(ID_FLIP)->isEnabled() && f.Action(ID_VIEW_2PAGE)->isChecked(); }));
}

TEST_F(FrameCommands, AcceleratorsAreCaughtBeforeTheViewEvenWithTheToolbarHidden) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.ExecuteCommand(ID_VIEW_TOOLBAR);
    KeyCounter counter;
    f.View().installEventFilter(&counter);
    g_option.bRotate = 0;
    QTest::keyClick(&f.View(), Qt::Key_R);
    EXPECT_EQ(g_option.bRotate, 1);
    EXPECT_TRUE(f.Action(ID_ROTATE)->isChecked());
    for (const auto modifier : {Qt::ShiftModifier, Qt::ControlModifier})
        QTest::keyClick(&f.View(), Qt::Key_Insert, modifier);
    QTest::keyClick(&f.View(), Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(&f.View(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&f.View(), Qt::Key_F6);
    EXPECT_EQ(counter.presses, 0);
    EXPECT_TRUE(messages.empty());
    // Delete itself turns the page, and with no book open the reader is told so.
    QTest::keyClick(&f.View(), Qt::Key_Delete);
    EXPECT_EQ(counter.presses, 1);
    EXPECT_EQ(messages.size(), 1u);
    messages.clear();
}

TEST_F(FrameCommands, OpeningAcceleratorsReachTheirPickers) {
    CMainFrame& f = ShowFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    std::vector<std::string> asked;
    ViewDialogs& dialogs = f.View().m_dialogs;
    dialogs.chooseImageFiles = [&asked](const std::string&) { asked.push_back("files"); return std::vector<std::string>(); };
    dialogs.chooseFolder = [&asked](const std::string&) { asked.push_back("folder"); return std::string(); };
    dialogs.chooseArchive = [&asked](const std::string&) { asked.push_back("archive"); return std::string(); };
    QTest::keyClick(&f.View(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&f.View(), Qt::Key_O, Qt::AltModifier);
    QTest::keyClick(&f.View(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(asked, (std::vector<std::string>{"files", "folder", "archive"}));
}

TEST_F(FrameCommands, ExitClosesTheWindow) {
    CMainFrame& f = ShowFrame();
    EXPECT_TRUE(f.ExecuteCommand(ID_APP_EXIT));
    EXPECT_FALSE(f.isVisible());
}

using FrameLifecycle = FrameFixture;

TEST_F(FrameLifecycle, StartsMaximizedWhenLastClosedMaximized) {
    g_option.bIsMaximized = 1;
    EXPECT_TRUE(ShowFrame().isMaximized());
    frame.reset();
    g_option.bIsMaximized = 0;
    EXPECT_FALSE(ShowFrame().isMaximized());
}

TEST_F(FrameLifecycle, StartsWithTheProductNameAndOpensOnlyTheBookNamedAtStartUp) {
    CMainFrame& empty = ShowFrame();
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("Tavimo"));
    EXPECT_TRUE(WaitUntil([&] { return !empty.IsStartupPending(); }));
    EXPECT_TRUE(empty.View().m_pageList.empty());
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("Tavimo"));

    const auto book = NumberedBook(3);
    ASSERT_NE(book, nullptr);
    CMainFrame& f = ShowFrame(book->path());
    EXPECT_TRUE(WaitUntil([&] { return f.View().m_pageList.size() == std::size_t(3); }));
    EXPECT_TRUE(WaitUntil([&] { return f.windowTitle().contains(QStringLiteral("p1.jpg")); }));
    EXPECT_EQ(f.PagePane()->text(), f.View().GetPageCounterText());
}

using FrameDialogs = FrameFixture;

TEST_F(FrameDialogs, OptionsRedrawTheCurrentPageWhenConfirmedEvenUnchangedAndNotWhenCancelled) {
    const auto book = NumberedBook(2);
    ASSERT_NE(book, nullptr);
    CMainFrame& f = ShowFrame(book->path());
    ASSERT_TRUE(WaitUntil([&] { return f.windowTitle().contains(QStringLiteral("p1.jpg")); }));
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "OK" : "Cancel");
        f.setWindowTitle(QStringLiteral("stale"));
        bool seen = false;
        AnswerNextDialog<COptionDlg>(&f, seen, [confirm](COptionDlg& dialog) {
            (confirm ? dialog.OkButton() : dialog.CancelButton())->click();
        });
        f.ExecuteCommand(ID_OPTION);
        EXPECT_TRUE(seen);
        EXPECT_EQ(f.windowTitle().contains(QStringLiteral("p1.jpg")), confirm) << f.windowTitle().toStdString();
    }
}

TEST_F(FrameDialogs, AboutCommandRunsTheAboutBoxOverTheWindow) {
    CMainFrame& f = ShowFrame();
    bool seen = false;
    QWidget* parent = nullptr;
    AnswerNextDialog<CAboutDlg>(&f, seen, [&parent](CAboutDlg& dialog) {
        parent = dialog.parentWidget();
        dialog.OkButton()->click();
    });
    EXPECT_TRUE(f.ExecuteCommand(ID_APP_ABOUT));
    EXPECT_TRUE(seen);
    EXPECT_EQ(parent, &f);
}
