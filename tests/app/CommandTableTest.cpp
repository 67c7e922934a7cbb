// The command, accelerator and toolbar tables: wiring, keys and texts.
#include "OptionSwitches.h"
#include "RecordingTarget.h"
#include "app/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

struct ExpectedRoute {
    int id;
    const char* call; // nullptr: nothing handles the command
};

// Which operation each command must reach.
const ExpectedRoute kRoutes[] = {
    {ID_NEXT, "TurnPage(true)"},
    {ID_PREV, "TurnPage(false)"},
    {ID_OPTION, "OnOption"},
    {ID_FULLSCREEN, "OnFullScreen"},
    {ID_OPEN_FOLDER, "OnOpenFolder"},
    {ID_OPEN_FILE, "OnOpenFile"},
    {ID_OPEN_ARCHIVE, "OnOpenArchive"},
    {ID_PREV10, "OnPrev10"},
    {ID_NEXT10, "OnNext10"},
    {ID_PAGE_PREV, "OnPagePrev"},
    {ID_PAGE_NEXT, "OnPageNext"},
    {ID_FLIP, "OnFlip"},
    {ID_VIEW_2PAGE, "OnView2Page"},
    {ID_INTERPOLATION, "OnInterpolation"},
    {ID_ZOOM_TOGGLE, "OnZoomToggle"},
    {ID_SELECT_PAGE, "SelectPage"},
    {ID_SHARPEN, "OnSharpen"},
    {ID_ROTATE, "OnRotate"},
    {ID_VIEW_TOOLBAR, "OnViewToolBar"},
    {ID_VIEW_STATUS_BAR, "OnViewStatusBar"},
    {ID_APP_ABOUT, "OnAppAbout"},
    {ID_APP_EXIT, "OnAppExit"},
    {ID_ZOOM, nullptr},
    {ID_FILE_LIST, nullptr},
    {ID_EDIT_COPY, nullptr},
    {ID_EDIT_CUT, nullptr},
    {ID_EDIT_PASTE, nullptr},
    {ID_EDIT_UNDO, nullptr},
    {ID_NEXT_PANE, nullptr},
    {ID_PREV_PANE, nullptr},
};

struct ExpectedText {
    int id;
    const char* status;
    const char* toolTip;
};

const ExpectedText kTexts[] = {
    {ID_OPTION, "옵션", "옵션"},
    {ID_FULLSCREEN, "풀스크린", "풀스크린(ESC,F)"},
    {ID_OPEN_FOLDER, "폴더열기", "폴더열기(ALT-O)"},
    {ID_OPEN_FILE, "파일열기", "파일열기(CTRL+O)"},
    {ID_PREV10, "10페이지 이전으로", "10페이지 이전으로"},
    {ID_PAGE_PREV, "이전 페이지로", "이전 페이지로(PGUP"},
    {ID_PAGE_NEXT, "다음 페이지로", "다음 페이지로(SPACE,PGDN)"},
    {ID_NEXT10, "10페이지 앞으로", "10페이지 앞으로"},
    {ID_FLIP, "좌우 뒤집기", "좌우 뒤집기(TAB)"},
    {ID_VIEW_2PAGE, "2페이지씩 보기", "2페이지씩 보기(2)"},
    {ID_INTERPOLATION, "인터폴레이션", "인터폴레이션(I)"},
    {ID_ZOOM, "확대", "확대"},
    {ID_ZOOM_TOGGLE, "확대/축소", "확대/축소(Z)"},
    {ID_FILE_LIST, "파일 목록 보기", "파일 목록 보기"},
    {ID_SELECT_PAGE, "페이지 선택", "페이지 선택(ENTER)"},
    {ID_OPEN_ARCHIVE, "PCO/ZIP 파일 열기", "PCO/ZIP 파일 열기(CTRL+P)"},
    {ID_SHARPEN, "샤픈 처리", "샤픈 처리(S)"},
    {ID_ROTATE, "돌리기", "돌리고(R)"},
    {ID_VIEW_TOOLBAR, "도구 모음을 보이거나 감춥니다", "툴바 보이기(`)"},
    {ID_VIEW_STATUS_BAR, "상태 표시줄을 표시하거나 감춥니다", "상태바 보이기(`)"},
    {ID_APP_ABOUT, "정보", "정보"},
    {ID_APP_EXIT, "종료", "종료"},
};

std::string Describe(int id) {
    const CommandInfo* command = FindCommand(id);
    return std::to_string(id) + " " + (command ? command->name : "(missing)");
}

} // namespace

TEST(CommandTable, NoTwoEntriesShareAnId) {
    std::set<int> seen;
    for (const CommandInfo& command : CommandTable())
        EXPECT_TRUE(seen.insert(command.id).second) << "duplicate " << command.name;
}

TEST(CommandTable, EveryIdReachesItsOwnHandlerAndNothingElse) {
    EXPECT_EQ(std::size(kRoutes), CommandTable().size())
        << "a command is missing from the table or the routes";
    for (const ExpectedRoute& route : kRoutes) {
        SCOPED_TRACE(Describe(route.id));
        const CommandInfo* command = FindCommand(route.id);
        ASSERT_NE(command, nullptr);
        RecordingTarget target;
        if (command->handler)
            command->handler(target);
        if (route.call == nullptr) {
            EXPECT_TRUE(target.calls.empty());
        } else {
            ASSERT_EQ(target.calls.size(), 1u);
            EXPECT_EQ(target.calls.front(), route.call);
        }
    }
}

TEST(CommandTable, StatusAndToolTipTextsAreTheProgramsOwn) {
    for (const ExpectedText& expected : kTexts) {
        SCOPED_TRACE(Describe(expected.id));
        const CommandInfo* command = FindCommand(expected.id);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(StatusText(*command), QString::fromUtf8(expected.status));
        EXPECT_EQ(ToolTipText(*command), QString::fromUtf8(expected.toolTip));
    }
}

TEST(CommandTable, CommandsWithoutTextGiveEmptyTexts) {
    for (const int id : {int(ID_NEXT), int(ID_PREV), int(ID_EDIT_COPY)}) {
        const CommandInfo* command = FindCommand(id);
        ASSERT_NE(command, nullptr);
        EXPECT_TRUE(StatusText(*command).isEmpty()) << Describe(id);
        EXPECT_TRUE(ToolTipText(*command).isEmpty()) << Describe(id);
    }
}

TEST(Accelerators, NoKeyLeadsToTwoCommands) {
    std::map<int, int> commandOfKey;
    for (const Accelerator& accelerator : AcceleratorTable()) {
        const auto [it, inserted] = commandOfKey.emplace(accelerator.key.toCombined(), accelerator.id);
        EXPECT_TRUE(inserted) << QKeySequence(accelerator.key).toString().toStdString() << " bound to "
                              << Describe(it->second) << " and " << Describe(accelerator.id);
    }
}

TEST(Accelerators, EveryKeyLeadsToACommandOfTheTable) {
    for (const Accelerator& accelerator : AcceleratorTable())
        EXPECT_NE(FindCommand(accelerator.id), nullptr)
            << QKeySequence(accelerator.key).toString().toStdString();
}

TEST(Accelerators, OpeningAndRotateKeysReachTheirCommands) {
    EXPECT_EQ(ShortcutsFor(ID_OPEN_FILE), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_O)});
    EXPECT_EQ(ShortcutsFor(ID_OPEN_FOLDER), QList<QKeySequence>{QKeySequence(Qt::ALT | Qt::Key_O)});
    EXPECT_EQ(ShortcutsFor(ID_OPEN_ARCHIVE), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_P)});
    EXPECT_EQ(ShortcutsFor(ID_ROTATE), QList<QKeySequence>{QKeySequence(Qt::Key_R)});
}

TEST(Accelerators, EditAndPaneKeysAreCaughtSoTheViewNeverSeesThem) {
    // Shift+Delete, Ctrl+Insert and Shift+Insert must not turn pages as Delete and Insert do.
    const QKeyCombination swallowed[] = {
        Qt::CTRL | Qt::Key_C,       Qt::CTRL | Qt::Key_V,        Qt::ALT | Qt::Key_Backspace,
        Qt::SHIFT | Qt::Key_Delete, QKeyCombination(Qt::Key_F6), Qt::SHIFT | Qt::Key_F6,
        Qt::CTRL | Qt::Key_Insert,  Qt::SHIFT | Qt::Key_Insert,  Qt::CTRL | Qt::Key_X,
        Qt::CTRL | Qt::Key_Z,
    };
    for (const QKeyCombination key : swallowed) {
        const auto table = AcceleratorTable();
        const auto accelerator =
            std::find_if(table.begin(), table.end(), [key](const Accelerator& a) { return a.key == key; });
        ASSERT_NE(accelerator, table.end()) << QKeySequence(key).toString().toStdString();
        const CommandInfo* command = FindCommand(accelerator->id);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->handler, nullptr) << Describe(command->id);
    }
}

TEST(ToolbarLayout, TwentyButtonsInTheirGroups) {
    // clang-format off: the groups of the toolbar, a line each.
    const std::vector<int> expected = {
        ID_OPEN_FILE,
        ID_OPEN_FOLDER,
        ID_OPEN_ARCHIVE,
        0,
        ID_FULLSCREEN,
        ID_OPTION,
        ID_VIEW_TOOLBAR,
        ID_VIEW_STATUS_BAR,
        0,
        ID_SELECT_PAGE,
        ID_PREV10,
        ID_PAGE_PREV,
        ID_PAGE_NEXT,
        ID_NEXT10,
        0,
        ID_VIEW_2PAGE,
        ID_FLIP,
        ID_ZOOM_TOGGLE,
        ID_INTERPOLATION,
        ID_SHARPEN,
        ID_ROTATE,
        0,
        ID_APP_ABOUT,
        ID_APP_EXIT,
    };
    // clang-format on
    const std::vector<int> layout(ToolbarLayout().begin(), ToolbarLayout().end());
    EXPECT_EQ(layout, expected);
}

TEST(ToolbarLayout, EveryButtonHasATableEntryWithATip) {
    for (const int id : ToolbarLayout()) {
        if (id == kToolbarSeparator)
            continue;
        const CommandInfo* command = FindCommand(id);
        ASSERT_NE(command, nullptr) << id;
        EXPECT_FALSE(ToolTipText(*command).isEmpty()) << Describe(id);
        EXPECT_NE(command->handler, nullptr) << Describe(id);
    }
}

class UpdateHandlers : public ::testing::Test {
protected:
    OptionSwitches m_keep;
    RecordingTarget m_target;
    bool Enabled(int id) { return IsCommandEnabled(*FindCommand(id), m_target); }
    bool Checked(int id) { return IsCommandChecked(*FindCommand(id), m_target); }
};

TEST_F(UpdateHandlers, FlipIsDisabledInOnePageView) {
    g_option.bView2Page = 0;
    EXPECT_FALSE(Enabled(ID_FLIP));
    g_option.bView2Page = 1;
    EXPECT_TRUE(Enabled(ID_FLIP));
}

TEST_F(UpdateHandlers, InterpolationAndSharpenAreDisabledWhileNotFitting) {
    g_option.bStretech = 0;
    EXPECT_FALSE(Enabled(ID_INTERPOLATION));
    EXPECT_FALSE(Enabled(ID_SHARPEN));
    g_option.bStretech = 1;
    EXPECT_TRUE(Enabled(ID_INTERPOLATION));
    EXPECT_TRUE(Enabled(ID_SHARPEN));
}

TEST_F(UpdateHandlers, CheckMarksFollowTheirSwitches) {
    const std::pair<int, std::int32_t COption::*> switches[] = {
        {ID_FLIP, &COption::bFlipPage},
        {ID_VIEW_2PAGE, &COption::bView2Page},
        {ID_INTERPOLATION, &COption::bInterpolation},
        {ID_SHARPEN, &COption::bSharpen},
        {ID_ZOOM_TOGGLE, &COption::bStretech},
        {ID_ROTATE, &COption::bRotate},
    };
    for (const auto& [id, field] : switches) {
        SCOPED_TRACE(Describe(id));
        g_option.*field = 0;
        EXPECT_FALSE(Checked(id));
        // Any non-zero stored value counts as on.
        g_option.*field = 7;
        EXPECT_TRUE(Checked(id));
    }
}

TEST_F(UpdateHandlers, FrameCheckMarksFollowTheFramesState) {
    m_target.fullScreen = true;
    m_target.toolBarVisible = false;
    m_target.statusBarVisible = true;
    EXPECT_TRUE(Checked(ID_FULLSCREEN));
    EXPECT_FALSE(Checked(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(Checked(ID_VIEW_STATUS_BAR));
    m_target.fullScreen = false;
    m_target.toolBarVisible = true;
    m_target.statusBarVisible = false;
    EXPECT_FALSE(Checked(ID_FULLSCREEN));
    EXPECT_TRUE(Checked(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(Checked(ID_VIEW_STATUS_BAR));
}

TEST_F(UpdateHandlers, CommandsWithoutAnUpdateHandlerAreAlwaysEnabledAndUnchecked) {
    g_option.bStretech = 0;
    g_option.bView2Page = 0;
    for (const int id : {int(ID_OPEN_FILE), int(ID_PAGE_NEXT), int(ID_APP_EXIT), int(ID_ZOOM)}) {
        EXPECT_TRUE(Enabled(id)) << Describe(id);
        EXPECT_FALSE(IsCheckable(*FindCommand(id))) << Describe(id);
        EXPECT_FALSE(Checked(id)) << Describe(id);
    }
}
