// Pipes, sockets and devices standing under a book's or a page's name, reached through the
// command line and a drop: each is refused at once with the usual message, the window
// keeps painting, reading goes on with the real pages and the window closes.
#include "DropPaths.h"
#include "FrameFixture.h"
#include "ImageFixtures.h"
#include "SpecialFiles.h"
#include "view/Messages.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <stop_token>
#include <thread>
#include <tuple>

namespace {

using fixtures::SpecialFile;

// A row stuck in a blocking call never returns to fail by itself: this ends the program
// with the row's name once the deadline has passed.
class Deadline {
public:
    explicit Deadline(std::string row)
        : m_watch([this, row = std::move(row)](std::stop_token stop) {
              std::unique_lock lock(m_mutex);
              m_wake.wait_for(lock, stop, std::chrono::seconds(10), [] { return false; });
              if (!stop.stop_requested()) {
                  std::fprintf(stderr, "%s: still running after its deadline, stuck in a blocking call\n",
                               row.c_str());
                  std::_Exit(EXIT_FAILURE);
              }
          })
    {
    }

private:
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::jthread m_watch;
};

struct NameCase {
    const char* label;   // for the row's name
    const char* name;    // the name the special file stands under
    const char* message; // what the program says when it cannot open a file of that name
    // A name the program may not take for a book of its own: then nothing opens and
    // nothing is said.
    bool messageOptional;
};

const NameCase kNames[] = {
    {"BookZip", "book.zip", viewtext::kZipCannotOpen, false},
    {"BookPco", "book.pco", viewtext::kPcoCannotOpen, false},
    {"BookCbz", "book.cbz", viewtext::kZipCannotOpen, true},
    {"PageInFolder", "02.jpg", viewtext::kOpenFailed, false},
};

const SpecialFile kKinds[] = {SpecialFile::Fifo, SpecialFile::Socket, SpecialFile::NullDevice,
                              SpecialFile::ZeroDevice};

enum class Way { CommandLine, Drop };

using Row = std::tuple<SpecialFile, NameCase, Way>;

void PrintTo(const NameCase& name, std::ostream* out)
{
    *out << name.name;
}
void PrintTo(Way way, std::ostream* out)
{
    *out << (way == Way::CommandLine ? "command line" : "drop");
}

std::string RowName(const ::testing::TestParamInfo<Row>& info)
{
    const auto& [kind, name, way] = info.param;
    return std::string(fixtures::SpecialFileName(kind)) + "_" + name.label + "_" +
           (way == Way::CommandLine ? "CommandLine" : "Drop");
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class SpecialFileRow : public FrameFixture, public ::testing::WithParamInterface<Row> {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        SetGMessageBoxHook([this](const GMessageBoxCall& call) {
            messages.push_back(call.text);
            answeredAfterMs = clock.elapsed();
            return int(IDOK);
        });
        SetPlainSwitches();
        // Reading ahead on: the preparation tick reads the special page as well.
        g_option.bCacheNextFile = 1;
        ASSERT_TRUE(dir.isValid());
        folder = dir.filePath(QStringLiteral("book")).toStdString();
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
        for (const int number : {1, 3})
            ASSERT_TRUE(fixtures::WriteFile(PagePath(number),
                                            fixtures::EncodeJpeg(fixtures::NumberedPage(120, 160, number))));
    }
    std::string PagePath(int number) const { return folder + "/0" + std::to_string(number) + ".jpg"; }
    bool ShowsPage(int number) const { return frame->windowTitle().endsWith(QString("0%1.jpg]").arg(number)); }
    void WaitForTurn() { ASSERT_TRUE(WaitUntil([&] { return !frame->View().m_bBusy; })); }

    QTemporaryDir dir;
    std::string folder;
    QElapsedTimer clock;
    qint64 answeredAfterMs = -1;
};

TEST_P(SpecialFileRow, IsRefusedAtOnceWithTheMessageAndReadingGoesOn)
{
    const auto& [kind, name, way] = GetParam();
    const Deadline deadline(::testing::UnitTest::GetInstance()->current_test_info()->name());
    const bool isPage = std::string(name.name) == "02.jpg";
    const std::string special = isPage ? folder + "/02.jpg" : dir.filePath(name.name).toStdString();
    ASSERT_TRUE(fixtures::MakeSpecialFile(kind, special)) << special;

    clock.start();
    if (way == Way::CommandLine) {
        ShowFrame(QString::fromStdString(isPage ? folder : special));
        ASSERT_TRUE(WaitUntil([&] { return !frame->IsStartupPending(); }));
    } else {
        ShowFrame(QString::fromStdString(folder));
        ASSERT_TRUE(WaitUntil([&] { return ShowsPage(1); }));
        clock.restart();
        ASSERT_TRUE(fixtures::DropPaths(&frame->View(), isPage ? std::vector{PagePath(1), special, PagePath(3)}
                                                               : std::vector{special}));
    }
    if (isPage) {
        // The book opens on its first page; the turn onto the special page is refused.
        ASSERT_TRUE(WaitUntil([&] { return ShowsPage(1); }));
        WaitForTurn();
        clock.restart();
        frame->View().TurnPage(true);
    }

    if (name.messageOptional && messages.empty()) {
        EXPECT_EQ(frame->View().m_pageList.size(), way == Way::Drop ? 2u : 0u) << "nothing opens";
    } else {
        EXPECT_EQ(messages, std::vector{QString::fromUtf8(name.message)});
        EXPECT_LT(answeredAfterMs, 1000);
    }
    messages.clear();

    PaintCounter counter;
    frame->View().installEventFilter(&counter);
    frame->View().update();
    EXPECT_TRUE(WaitUntil([&] { return counter.paints > 0; })) << "the view no longer paints";

    if (frame->View().m_pageList.empty()) {
        // Nothing was open before the refused book: the program still opens the next one.
        ASSERT_TRUE(fixtures::DropPaths(&frame->View(), {folder}));
        ASSERT_TRUE(WaitUntil([&] { return ShowsPage(1); }));
    }
    WaitForTurn();
    frame->View().TurnPage(true);
    EXPECT_TRUE(WaitUntil([&] { return ShowsPage(3); })) << frame->windowTitle().toStdString();
    EXPECT_TRUE(messages.empty());

    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
}

INSTANTIATE_TEST_SUITE_P(SpecialFiles, SpecialFileRow,
                         ::testing::Combine(::testing::ValuesIn(kKinds), ::testing::ValuesIn(kNames),
                                            ::testing::Values(Way::CommandLine, Way::Drop)),
                         RowName);

} // namespace
