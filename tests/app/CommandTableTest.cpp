// The command, accelerator and toolbar tables: wiring, keys and texts.
#include "OptionSwitches.h"
#include "RecordingTarget.h"
#include "app/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

struct Expected {
    int id;
    const char* call; // nullptr: nothing handles the command
    const char* status;
    const char* toolTip;
};

// Each command of the table: the operation it reaches and its texts.
const Expected kCommands[] = {
    {ID_NEXT, "TurnPage(true)", "", ""},
    {ID_PREV, "TurnPage(false)", "", ""},
    {ID_OPTION, "OnOption", "옵션", "옵션"},
    {ID_FULLSCREEN, "OnFullScreen", "풀스크린", "풀스크린(ESC,F)"},
    {ID_OPEN_FOLDER, "OnOpenFolder", "폴더열기", "폴더열기(ALT-O)"},
    {ID_OPEN_FILE, "OnOpenFile", "파일열기", "파일열기(CTRL+O)"},
    {ID_OPEN_ARCHIVE, "OnOpenArchive", "PCO/ZIP 파일 열기", "PCO/ZIP 파일 열기(CTRL+P)"},
    {ID_PREV10, "OnPrev10", "10페이지 이전으로", "10페이지 이전으로"},
    {ID_NEXT10, "OnNext10", "10페이지 앞으로", "10페이지 앞으로"},
    {ID_PAGE_PREV, "OnPagePrev", "이전 페이지로", "이전 페이지로(PGUP"},
    {ID_PAGE_NEXT, "OnPageNext", "다음 페이지로", "다음 페이지로(SPACE,PGDN)"},
    {ID_FLIP, "OnFlip", "좌우 뒤집기", "좌우 뒤집기(TAB)"},
    {ID_VIEW_2PAGE, "OnView2Page", "2페이지씩 보기", "2페이지씩 보기(2)"},
    {ID_INTERPOLATION, "OnInterpolation", "인터폴레이션", "인터폴레이션(I)"},
    {ID_ZOOM_TOGGLE, "OnZoomToggle", "확대/축소", "확대/축소(Z)"},
    {ID_SELECT_PAGE, "SelectPage", "페이지 선택", "페이지 선택(ENTER)"},
    {ID_SHARPEN, "OnSharpen", "샤픈 처리", "샤픈 처리(S)"},
    {ID_ROTATE, "OnRotate", "돌리기", "돌리고(R)"},
    {ID_RECENT_BOOKS, "OnRecentBooks", "최근에 읽은 책", "최근에 읽은 책(CTRL+R)"},
    {ID_VIEW_TOOLBAR, "OnViewToolBar", "도구 모음을 보이거나 감춥니다", "툴바 보이기(`)"},
    {ID_VIEW_STATUS_BAR, "OnViewStatusBar", "상태 표시줄을 표시하거나 감춥니다", "상태바 보이기(`)"},
    {ID_APP_ABOUT, "OnAppAbout", "정보", "정보"},
    {ID_APP_EXIT, "OnAppExit", "종료", "종료"},
    {ID_ZOOM, nullptr, "확대", "확대"},
    {ID_FILE_LIST, nullptr, "파일 목록 보기", "파일 목록 보기"},
    {ID_EDIT_COPY, nullptr, "", ""},
    {ID_EDIT_CUT, nullptr, "", ""},
    {ID_EDIT_PASTE, nullptr, "", ""},
    {ID_EDIT_UNDO, nullptr, "", ""},
    {ID_NEXT_PANE, nullptr, "", ""},
    {ID_PREV_PANE, nullptr, "", ""},
};

std::string Describe(int id)
{
    const CommandInfo* command = FindCommand(id);
    return std::to_string(id) + " " + (command ? command->name : "(missing)");
}

std::string KeyName(QKeyCombination key)
{
    return QKeySequence(key).toString().toStdString();
}

TEST(CommandTable, EveryCommandReachesItsOwnHandlerOnlyAndShowsItsTexts)
{
    EXPECT_EQ(std::size(kCommands), CommandTable().size()) << "a command is missing or listed twice";
    for (const Expected& expected : kCommands) {
        SCOPED_TRACE(Describe(expected.id));
        const CommandInfo* command = FindCommand(expected.id);
        ASSERT_NE(command, nullptr);
        RecordingTarget target;
        if (command->handler)
            command->handler(target);
        EXPECT_EQ(target.calls, expected.call ? std::vector<std::string>{expected.call} : std::vector<std::string>{});
        EXPECT_EQ(StatusText(*command), QString::fromUtf8(expected.status));
        EXPECT_EQ(ToolTipText(*command), QString::fromUtf8(expected.toolTip));
    }
}

TEST(Accelerators, EachKeyLeadsToOneCommandOfTheTable)
{
    std::map<int, int> commandOfKey;
    for (const Accelerator& accelerator : AcceleratorTable()) {
        EXPECT_NE(FindCommand(accelerator.id), nullptr) << KeyName(accelerator.key);
        const auto [it, inserted] = commandOfKey.emplace(accelerator.key.toCombined(), accelerator.id);
        EXPECT_TRUE(inserted) << KeyName(accelerator.key) << " bound to " << Describe(it->second) << " and "
                              << Describe(accelerator.id);
    }
    const std::pair<int, QKeyCombination> keys[] = {{ID_OPEN_FILE, Qt::CTRL | Qt::Key_O},
                                                    {ID_OPEN_FOLDER, Qt::ALT | Qt::Key_O},
                                                    {ID_OPEN_ARCHIVE, Qt::CTRL | Qt::Key_P},
                                                    {ID_ROTATE, QKeyCombination(Qt::Key_R)},
                                                    {ID_RECENT_BOOKS, Qt::CTRL | Qt::Key_R}};
    for (const auto& [id, key] : keys)
        EXPECT_EQ(ShortcutsFor(id), QList<QKeySequence>{QKeySequence(key)}) << Describe(id);
}

TEST(Accelerators, EditAndPaneKeysAreCaughtSoTheViewNeverSeesThem)
{
    // Shift+Delete, Ctrl+Insert and Shift+Insert must not turn pages as Delete and Insert do.
    const QKeyCombination swallowed[] = {
        Qt::CTRL | Qt::Key_C,       Qt::CTRL | Qt::Key_V,        Qt::ALT | Qt::Key_Backspace,
        Qt::SHIFT | Qt::Key_Delete, QKeyCombination(Qt::Key_F6), Qt::SHIFT | Qt::Key_F6,
        Qt::CTRL | Qt::Key_Insert,  Qt::SHIFT | Qt::Key_Insert,  Qt::CTRL | Qt::Key_X,
        Qt::CTRL | Qt::Key_Z,
    };
    const auto table = AcceleratorTable();
    for (const QKeyCombination key : swallowed) {
        const auto accelerator = std::find_if(table.begin(), table.end(), [key](const Accelerator& a) { return a.key == key; });
        ASSERT_NE(accelerator, table.end()) << KeyName(key);
        EXPECT_EQ(FindCommand(accelerator->id)->handler, nullptr) << KeyName(key);
    }
}

TEST(ToolbarLayout, TwentyButtonsInTheirGroups)
{
    const std::vector<int> expected = {
        ID_OPEN_FILE,  ID_OPEN_FOLDER, ID_OPEN_ARCHIVE, 0,  ID_FULLSCREEN, ID_OPTION,   ID_VIEW_TOOLBAR,
        ID_VIEW_STATUS_BAR, 0,         ID_SELECT_PAGE,  ID_PREV10, ID_PAGE_PREV, ID_PAGE_NEXT, ID_NEXT10,
        0,             ID_VIEW_2PAGE,  ID_FLIP,         ID_ZOOM_TOGGLE, ID_INTERPOLATION, ID_SHARPEN, ID_ROTATE,
        0,             ID_APP_ABOUT,   ID_APP_EXIT,
    };
    EXPECT_EQ(std::vector<int>(ToolbarLayout().begin(), ToolbarLayout().end()), expected);
}

class UpdateHandlers : public ::testing::Test {
protected:
    OptionSwitches m_keep;
    RecordingTarget m_target;
    bool Enabled(int id) { return IsCommandEnabled(*FindCommand(id), m_target); }
    bool Checked(int id) { return IsCommandChecked(*FindCommand(id), m_target); }
};

TEST_F(UpdateHandlers, FlipNeedsTwoPagesAndInterpolationAndSharpenNeedFitting)
{
    for (const std::int32_t twoPages : {0, 1}) {
        // Opposite values, so that a command following the wrong switch shows up.
        g_option.bView2Page = twoPages;
        g_option.bStretech = 1 - twoPages;
        EXPECT_EQ(Enabled(ID_FLIP), twoPages == 1);
        EXPECT_EQ(Enabled(ID_INTERPOLATION), twoPages == 0);
        EXPECT_EQ(Enabled(ID_SHARPEN), twoPages == 0);
        // Commands without an update handler stay enabled and unchecked whatever the switches say.
        for (const int id : {int(ID_OPEN_FILE), int(ID_PAGE_NEXT), int(ID_APP_EXIT), int(ID_ZOOM)}) {
            EXPECT_TRUE(Enabled(id)) << Describe(id);
            EXPECT_FALSE(IsCheckable(*FindCommand(id))) << Describe(id);
            EXPECT_FALSE(Checked(id)) << Describe(id);
        }
    }
}

TEST_F(UpdateHandlers, CheckMarksFollowTheirSwitchesAndTheFramesState)
{
    const std::pair<int, std::int32_t COption::*> switches[] = {
        {ID_FLIP, &COption::bFlipPage},         {ID_VIEW_2PAGE, &COption::bView2Page},
        {ID_INTERPOLATION, &COption::bInterpolation}, {ID_SHARPEN, &COption::bSharpen},
        {ID_ZOOM_TOGGLE, &COption::bStretech},  {ID_ROTATE, &COption::bRotate},
    };
    for (const auto& [id, field] : switches) {
        g_option.*field = 0;
        EXPECT_FALSE(Checked(id)) << Describe(id);
        g_option.*field = 7; // any non-zero value counts as on
        EXPECT_TRUE(Checked(id)) << Describe(id);
    }
    for (const bool state : {true, false}) {
        m_target.fullScreen = state;
        m_target.toolBarVisible = !state;
        m_target.statusBarVisible = state;
        EXPECT_EQ(Checked(ID_FULLSCREEN), state);
        EXPECT_EQ(Checked(ID_VIEW_TOOLBAR), !state);
        EXPECT_EQ(Checked(ID_VIEW_STATUS_BAR), state);
    }
}

} // namespace
