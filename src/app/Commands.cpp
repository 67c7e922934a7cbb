// Commands: the command table, the accelerator table and the toolbar's button order.
#include "app/Commands.h"

#include "app/CommandTarget.h"
#include "settings/Option.h"

#include <algorithm>

namespace {

bool Always(const CCommandTarget&) {
    return true;
}
bool WhenTwoPages(const CCommandTarget&) {
    return g_option.bView2Page != 0;
}
bool WhenFitting(const CCommandTarget&) {
    return g_option.bStretech != 0;
}

const CommandInfo kCommands[] = {
    {ID_NEXT, "ID_NEXT", nullptr, nullptr, nullptr, [](CCommandTarget& t) { t.TurnPage(true); }},
    {ID_OPTION, "ID_OPTION", "옵션\n옵션", nullptr, nullptr, [](CCommandTarget& t) { t.OnOption(); }},
    {ID_PREV, "ID_PREV", nullptr, nullptr, nullptr, [](CCommandTarget& t) { t.TurnPage(false); }},
    {ID_FULLSCREEN, "ID_FULLSCREEN", "풀스크린\n풀스크린(ESC,F)", nullptr,
     [](const CCommandTarget& t) { return t.IsFullScreen(); }, [](CCommandTarget& t) { t.OnFullScreen(); }},
    {ID_OPEN_FOLDER, "ID_OPEN_FOLDER", "폴더열기\n폴더열기(ALT-O)", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnOpenFolder(); }},
    {ID_OPEN_FILE, "ID_OPEN_FILE", "파일열기\n파일열기(CTRL+O)", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnOpenFile(); }},
    {ID_PREV10, "ID_PREV10", "10페이지 이전으로\n10페이지 이전으로", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnPrev10(); }},
    {ID_PAGE_PREV, "ID_PAGE_PREV", "이전 페이지로\n이전 페이지로(PGUP", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnPagePrev(); }},
    {ID_PAGE_NEXT, "ID_PAGE_NEXT", "다음 페이지로\n다음 페이지로(SPACE,PGDN)", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnPageNext(); }},
    {ID_NEXT10, "ID_NEXT10", "10페이지 앞으로\n10페이지 앞으로", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnNext10(); }},
    {ID_FLIP, "ID_FLIP", "좌우 뒤집기\n좌우 뒤집기(TAB)", WhenTwoPages,
     [](const CCommandTarget&) { return g_option.bFlipPage != 0; }, [](CCommandTarget& t) { t.OnFlip(); }},
    {ID_VIEW_2PAGE, "ID_VIEW_2PAGE", "2페이지씩 보기\n2페이지씩 보기(2)", nullptr,
     [](const CCommandTarget&) { return g_option.bView2Page != 0; },
     [](CCommandTarget& t) { t.OnView2Page(); }},
    {ID_INTERPOLATION, "ID_INTERPOLATION", "인터폴레이션\n인터폴레이션(I)", WhenFitting,
     [](const CCommandTarget&) { return g_option.bInterpolation != 0; },
     [](CCommandTarget& t) { t.OnInterpolation(); }},
    {ID_ZOOM, "ID_ZOOM", "확대\n확대", nullptr, nullptr, nullptr},
    {ID_ZOOM_TOGGLE, "ID_ZOOM_TOGGLE", "확대/축소\n확대/축소(Z)", nullptr,
     [](const CCommandTarget&) { return g_option.bStretech != 0; },
     [](CCommandTarget& t) { t.OnZoomToggle(); }},
    {ID_FILE_LIST, "ID_FILE_LIST", "파일 목록 보기\n파일 목록 보기", nullptr, nullptr, nullptr},
    {ID_SELECT_PAGE, "ID_SELECT_PAGE", "페이지 선택\n페이지 선택(ENTER)", nullptr, nullptr,
     [](CCommandTarget& t) { t.SelectPage(); }},
    {ID_OPEN_ARCHIVE, "ID_OPEN_ARCHIVE", "PCO/ZIP 파일 열기\nPCO/ZIP 파일 열기(CTRL+P)", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnOpenArchive(); }},
    {ID_SHARPEN, "ID_SHARPEN", "샤픈 처리\n샤픈 처리(S)", WhenFitting,
     [](const CCommandTarget&) { return g_option.bSharpen != 0; }, [](CCommandTarget& t) { t.OnSharpen(); }},
    {ID_ROTATE, "ID_ROTATE", "돌리기\n돌리고(R)", nullptr,
     [](const CCommandTarget&) { return g_option.bRotate != 0; }, [](CCommandTarget& t) { t.OnRotate(); }},
    {ID_RECENT_BOOKS, "ID_RECENT_BOOKS", "최근에 읽은 책\n최근에 읽은 책(CTRL+R)", nullptr, nullptr,
     [](CCommandTarget& t) { t.OnRecentBooks(); }},
    {ID_VIEW_TOOLBAR, "ID_VIEW_TOOLBAR", "도구 모음을 보이거나 감춥니다\n툴바 보이기(`)", nullptr,
     [](const CCommandTarget& t) { return t.IsToolBarVisible(); },
     [](CCommandTarget& t) { t.OnViewToolBar(); }},
    {ID_VIEW_STATUS_BAR, "ID_VIEW_STATUS_BAR", "상태 표시줄을 표시하거나 감춥니다\n상태바 보이기(`)", nullptr,
     [](const CCommandTarget& t) { return t.IsStatusBarVisible(); },
     [](CCommandTarget& t) { t.OnViewStatusBar(); }},
    {ID_APP_ABOUT, "ID_APP_ABOUT", "정보\n정보", nullptr, nullptr, [](CCommandTarget& t) { t.OnAppAbout(); }},
    {ID_APP_EXIT, "ID_APP_EXIT", "종료\n종료", nullptr, nullptr, [](CCommandTarget& t) { t.OnAppExit(); }},
    {ID_EDIT_COPY, "ID_EDIT_COPY", nullptr, nullptr, nullptr, nullptr},
    {ID_EDIT_CUT, "ID_EDIT_CUT", nullptr, nullptr, nullptr, nullptr},
    {ID_EDIT_PASTE, "ID_EDIT_PASTE", nullptr, nullptr, nullptr, nullptr},
    {ID_EDIT_UNDO, "ID_EDIT_UNDO", nullptr, nullptr, nullptr, nullptr},
    {ID_NEXT_PANE, "ID_NEXT_PANE", nullptr, nullptr, nullptr, nullptr},
    {ID_PREV_PANE, "ID_PREV_PANE", nullptr, nullptr, nullptr, nullptr},
};

// clang-format off: one accelerator a line in the table's order; the toolbar a group a line.
const Accelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},        {Qt::CTRL | Qt::Key_O, ID_OPEN_FILE},
    {Qt::ALT | Qt::Key_O, ID_OPEN_FOLDER},       {Qt::CTRL | Qt::Key_P, ID_OPEN_ARCHIVE},
    {QKeyCombination(Qt::Key_R), ID_ROTATE},     {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
    {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO}, {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
    {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE}, {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},   {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
    {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},         {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
    {Qt::CTRL | Qt::Key_R, ID_RECENT_BOOKS},
};

const int kToolbar[] = {
    ID_OPEN_FILE,     ID_OPEN_FOLDER,     ID_OPEN_ARCHIVE,   kToolbarSeparator, ID_FULLSCREEN, ID_OPTION,
    ID_VIEW_TOOLBAR,  ID_VIEW_STATUS_BAR, kToolbarSeparator, ID_SELECT_PAGE,    ID_PREV10,     ID_PAGE_PREV,
    ID_PAGE_NEXT,     ID_NEXT10,          kToolbarSeparator, ID_VIEW_2PAGE,     ID_FLIP,       ID_ZOOM_TOGGLE,
    ID_INTERPOLATION, ID_SHARPEN,         ID_ROTATE,         kToolbarSeparator, ID_APP_ABOUT,  ID_APP_EXIT,
};
// clang-format on

QString TextPart(const CommandInfo& command, bool afterBreak) {
    if (command.text == nullptr)
        return {};
    const QString text = QString::fromUtf8(command.text);
    const qsizetype lineBreak = text.indexOf(u'\n');
    if (lineBreak < 0)
        return afterBreak ? QString() : text;
    return afterBreak ? text.mid(lineBreak + 1) : text.left(lineBreak);
}

} // namespace

std::span<const CommandInfo> CommandTable() {
    return kCommands;
}
std::span<const Accelerator> AcceleratorTable() {
    return kAccelerators;
}
std::span<const int> ToolbarLayout() {
    return kToolbar;
}

const CommandInfo* FindCommand(int id) {
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [id](const CommandInfo& command) { return command.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

bool IsCheckable(const CommandInfo& command) {
    return command.isChecked != nullptr;
}

bool IsCommandEnabled(const CommandInfo& command, const CCommandTarget& target) {
    return (command.isEnabled ? command.isEnabled : Always)(target);
}

bool IsCommandChecked(const CommandInfo& command, const CCommandTarget& target) {
    return IsCheckable(command) && command.isChecked(target);
}

QString StatusText(const CommandInfo& command) {
    return TextPart(command, false);
}
QString ToolTipText(const CommandInfo& command) {
    return TextPart(command, true);
}

QList<QKeySequence> ShortcutsFor(int id) {
    QList<QKeySequence> keys;
    for (const Accelerator& accelerator : kAccelerators)
        if (accelerator.id == id)
            keys.append(QKeySequence(accelerator.key));
    return keys;
}
