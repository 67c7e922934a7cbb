// The command layer: each command reaches one handler of its own, keys lead to one command
// each, the enable and check rules, the command line and the progress bar's colours.
#include "app/Commands.h"
#include "OptionSwitches.h"
#include "app/CommandLine.h"
#include "app/CommandTarget.h"
#include "app/ProgressColors.h"

#include <QPalette>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

// Records which operation a command reached, with frame states the test sets.
struct RecordingTarget : CCommandTarget {
    std::vector<std::string> calls;
    bool fullScreen = false, toolBarVisible = true, statusBarVisible = true;
    void TurnPage(bool forward) override { calls.push_back(forward ? "TurnPage(true)" : "TurnPage(false)"); }
    void OnPagePrev() override { calls.push_back(__func__); }
    void OnPageNext() override { calls.push_back(__func__); }
    void OnPrev10() override { calls.push_back(__func__); }
    void OnNext10() override { calls.push_back(__func__); }
    void OnFlip() override { calls.push_back(__func__); }
    void OnView2Page() override { calls.push_back(__func__); }
    void OnInterpolation() override { calls.push_back(__func__); }
    void OnZoomToggle() override { calls.push_back(__func__); }
    void SelectPage() override { calls.push_back(__func__); }
    void OnOpenFile() override { calls.push_back(__func__); }
    void OnOpenFolder() override { calls.push_back(__func__); }
    void OnOpenArchive() override { calls.push_back(__func__); }
    void OnSharpen() override { calls.push_back(__func__); }
    void OnRotate() override { calls.push_back(__func__); }
    void OnFullScreen() override { calls.push_back(__func__); }
    void OnOption() override { calls.push_back(__func__); }
    void OnViewToolBar() override { calls.push_back(__func__); }
    void OnViewStatusBar() override { calls.push_back(__func__); }
    void OnAppAbout() override { calls.push_back(__func__); }
    void OnAppExit() override { calls.push_back(__func__); }
    void OnRecentBooks() override { calls.push_back(__func__); }
    bool IsFullScreen() const override { return fullScreen; }
    bool IsToolBarVisible() const override { return toolBarVisible; }
    bool IsStatusBarVisible() const override { return statusBarVisible; }
};

TEST(Commands, EachReachesOneHandlerOfItsOwnAndEachKeyOneCommandWithEditAndPaneKeysSwallowed) {
    std::set<std::string> reached;
    for (const CommandInfo& command : CommandTable()) {
        RecordingTarget target;
        if (command.handler)
            command.handler(target);
        EXPECT_EQ(target.calls.size(), command.handler ? 1u : 0u) << command.name;
        EXPECT_TRUE(target.calls.empty() || reached.insert(target.calls[0]).second)
            << command.name << " shares";
        EXPECT_EQ(FindCommand(command.id), &command);
    }
    EXPECT_EQ(reached.size(), 23u);
    EXPECT_TRUE(StatusText(*FindCommand(ID_NEXT)).isEmpty() && ToolTipText(*FindCommand(ID_NEXT)).isEmpty());
    std::map<int, int> commandOfKey;
    for (const Accelerator& accelerator : AcceleratorTable()) {
        EXPECT_NE(FindCommand(accelerator.id), nullptr) << accelerator.id;
        EXPECT_TRUE(commandOfKey.emplace(accelerator.key.toCombined(), accelerator.id).second)
            << QKeySequence(accelerator.key).toString().toStdString() << " bound twice";
    }
    // Shift+Delete, Ctrl+Insert and Shift+Insert must not turn pages as Delete and Insert do.
    for (const QKeyCombination key :
         {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_V, Qt::ALT | Qt::Key_Backspace, Qt::SHIFT | Qt::Key_Delete,
          QKeyCombination(Qt::Key_F6), Qt::SHIFT | Qt::Key_F6, Qt::CTRL | Qt::Key_Insert,
          Qt::SHIFT | Qt::Key_Insert, Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_Z}) {
        ASSERT_TRUE(commandOfKey.contains(key.toCombined())) << QKeySequence(key).toString().toStdString();
        EXPECT_EQ(FindCommand(commandOfKey[key.toCombined()])->handler, nullptr);
    }
    EXPECT_EQ(ShortcutsFor(ID_RECENT_BOOKS), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_R)});
}

TEST(Commands, FlipNeedsTwoPagesFittingGatesInterpolationAndSharpenAndMarksFollowTheirSwitches) {
    const OptionSwitches keep;
    RecordingTarget target;
    const auto enabled = [&](int id) { return IsCommandEnabled(*FindCommand(id), target); };
    const auto checked = [&](int id) { return IsCommandChecked(*FindCommand(id), target); };
    for (const std::int32_t twoPages : {0, 1}) {
        g_option.bView2Page = twoPages; // opposite values: a command following the wrong switch shows
        g_option.bStretech = 1 - twoPages;
        EXPECT_EQ(enabled(ID_FLIP), twoPages == 1);
        EXPECT_EQ(enabled(ID_INTERPOLATION) + enabled(ID_SHARPEN), 2 * (twoPages == 0));
        EXPECT_TRUE(enabled(ID_PAGE_NEXT) && !IsCheckable(*FindCommand(ID_PAGE_NEXT)));
    }
    const std::pair<int, std::int32_t COption::*> switches[] = {{ID_FLIP, &COption::bFlipPage},
                                                                {ID_VIEW_2PAGE, &COption::bView2Page},
                                                                {ID_INTERPOLATION, &COption::bInterpolation},
                                                                {ID_SHARPEN, &COption::bSharpen},
                                                                {ID_ZOOM_TOGGLE, &COption::bStretech},
                                                                {ID_ROTATE, &COption::bRotate}};
    for (const auto& [id, field] : switches) {
        g_option.*field = 0;
        EXPECT_FALSE(checked(id)) << id;
        g_option.*field = 7; // any non-zero value counts as on
        EXPECT_TRUE(checked(id)) << id;
    }
    for (const bool state : {true, false}) {
        target.fullScreen = target.statusBarVisible = state;
        target.toolBarVisible = !state;
        EXPECT_TRUE(checked(ID_FULLSCREEN) == state && checked(ID_VIEW_TOOLBAR) == !state &&
                    checked(ID_VIEW_STATUS_BAR) == state);
    }
}

// Help and version come before any window, else the first plain argument is the book, kept
// in the bytes the file system names it by: a CP949 name must not come back as U+FFFD.
TEST(CommandLine, HelpAndVersionComeFirstElseTheFirstPlainArgumentIsTheBookByteForByte) {
    using enum CommandLineRequest;
    // The book expected, or nullptr where it is not looked at.
    // clang-format off
    const std::tuple<const char*, QStringList, CommandLineRequest, const char*> rows[] = {
        {"no arguments not starting the viewer bare", {}, StartViewer, ""},
        {"a later plain argument taken for the book", {"tavimo", "/책/만화 1권.zip", "/books/other"}, StartViewer, "/책/만화 1권.zip"},
        {"an unknown option taken for the book", {"tavimo", "-x", "--other=1", "book.pco"}, StartViewer, "book.pco"},
        {"a name after -- read as an option", {"tavimo", "--", "-odd.zip"}, StartViewer, "-odd.zip"},
        {"help after -- obeyed", {"tavimo", "--", "--help"}, StartViewer, "--help"},
        {"help after the book not obeyed", {"tavimo", "/books/a.zip", "--help"}, ShowHelp, "/books/a.zip"},
        {"version taken before help", {"tavimo", "--version", "--help"}, ShowHelp, ""},
        // Qt's options reach main() untouched: "-platform" must not read as -p -l -a ... nor
        // hide the option after it.
        {"-platform read as letters, or hiding the next option", {"tavimo", "-platform", "offscreen", "--version"}, ShowVersion, nullptr},
        {"-style read as letters", {"tavimo", "-style", "fusion", "book.zip"}, StartViewer, nullptr},
        {"grouped letters obeyed as help or version", {"tavimo", "-hv"}, StartViewer, ""}};
    // clang-format on
    for (const auto& [fault, arguments, request, book] : rows) {
        SCOPED_TRACE(fault);
        EXPECT_EQ(RequestFromArguments(arguments), request);
        EXPECT_TRUE(!book || BookPathFromArguments(arguments) == QString::fromUtf8(book));
    }
    // clang-format off
    const std::tuple<const char*, std::vector<const char*>, std::string> bytes[] = {
        {"a book made up without arguments", {"tavimo"}, ""},
        {"a CP949 name not kept byte for byte", {"tavimo", "/books/\xB8\xB8\xC8\xAD 1.zip"}, "/books/\xB8\xB8\xC8\xAD 1.zip"},
        {"a CP949 name after -- not kept", {"tavimo", "-x", "--", "-\xB8\xB8.cbz", "other"}, "-\xB8\xB8.cbz"},
        {"an option of stray bytes taken for the book", {"tavimo", "-\xB8", "--", "-\xB9", "\xB8"}, "-\xB9"},
        {"a UTF-8 name not kept", {"tavimo", "/책/만화.zip"}, "/책/만화.zip"}};
    // clang-format on
    for (const auto& [fault, argv, book] : bytes)
        EXPECT_EQ(BookPathBytesFromArguments(int(argv.size()), argv.data()), book) << fault;
}

TEST(ProgressColors, BarIsTheLightColourLessFifteenWithBlueRaisedInsideTheByteRangeOnTheMenuColour) {
    const std::tuple<const char*, QColor, QColor> cases[] = {
        {"blue raised past the byte range", QColor(255, 0, 0), QColor(240, 240, 255)},
        {"the light colour's green or blue taken", QColor(200, 10, 90), QColor(185, 185, 215)},
        {"dimmed below zero", QColor(10, 255, 255), QColor(0, 0, 25)}};
    for (const auto& [fault, light, bar] : cases)
        EXPECT_EQ(ProgressBarColor(light), bar) << fault;
    QPalette source, target;
    source.setColor(QPalette::Light, QColor(255, 0, 0));
    source.setColor(QPalette::Window, QColor(12, 34, 56));
    ApplyProgressColors(source, target);
    EXPECT_EQ(target.color(QPalette::Highlight), QColor(240, 240, 255));
    EXPECT_TRUE(target.color(QPalette::Window) == QColor(12, 34, 56) &&
                target.color(QPalette::Base) == QColor(12, 34, 56));
}

} // namespace
