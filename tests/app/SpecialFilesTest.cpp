// Pipes, sockets and devices standing under a book's or a page's name, reached through the
// command line and a drop: each is refused at once with the usual message, reading goes on
// with the real pages and the window closes. A row stuck in a blocking call, reading or
// painting, fails by the program's time limit.
#include "SpecialFiles.h"
#include "DropPaths.h"
#include "FrameFixture.h"
#include "ImageFixtures.h"
#include "view/Messages.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>

namespace {

using fixtures::SpecialFile;

// The name the special file stands under, and what the program says when it cannot open it.
const std::pair<const char*, const char*> kNames[] = {
    {"book.zip", viewtext::kZipCannotOpen},
    {"book.pco", viewtext::kPcoCannotOpen},
    {"book.cbz", viewtext::kZipCannotOpen},
    {"02.jpg", viewtext::kOpenFailed}, // a page between two real ones
};

using Row = std::tuple<SpecialFile, std::pair<const char*, const char*>, bool>; // kind, name, by drop

class SpecialFileRow : public FrameFixture, public ::testing::WithParamInterface<Row> {};

TEST_P(SpecialFileRow, IsRefusedAtOnceWithTheMessageAndReadingGoesOn) {
    const auto& [kind, name, byDrop] = GetParam();
    QElapsedTimer clock;
    qint64 answeredAfterMs = -1;
    SetGMessageBoxHook([&](const GMessageBoxCall& call) {
        messages.push_back(call.text);
        answeredAfterMs = clock.elapsed();
        return int(IDOK);
    });
    SetPlainSwitches();
    g_option.bCacheNextFile = 1; // the preparation tick reads the special page as well
    QTemporaryDir dir;
    const std::string folder = dir.filePath(QStringLiteral("book")).toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    const auto page = [&](int number) { return folder + "/0" + std::to_string(number) + ".jpg"; };
    const auto shows = [&](int number) {
        return frame->windowTitle().endsWith(QString("0%1.jpg]").arg(number));
    };
    const auto turn = [&] {
        ASSERT_TRUE(WaitUntil([&] { return !frame->View().m_bBusy; }));
        clock.restart();
        frame->View().TurnPage(true);
    };
    for (const int number : {1, 3})
        ASSERT_TRUE(fixtures::WriteFile(page(number),
                                        fixtures::EncodeJpeg(fixtures::NumberedPage(120, 160, number))));
    const bool isPage = std::string(name.first) == "02.jpg";
    const std::string special = isPage ? page(2) : dir.filePath(name.first).toStdString();
    ASSERT_TRUE(fixtures::MakeSpecialFile(kind, special)) << special;

    clock.start();
    if (!byDrop) {
        ShowFrame(QString::fromStdString(isPage ? folder : special));
        ASSERT_TRUE(WaitUntil([&] { return !frame->IsStartupPending(); }));
    } else {
        ShowFrame(QString::fromStdString(folder));
        ASSERT_TRUE(WaitUntil([&] { return shows(1); }));
        clock.restart();
        ASSERT_TRUE(fixtures::DropPaths(&frame->View(), isPage ? std::vector{page(1), special, page(3)}
                                                               : std::vector{special}));
    }
    if (isPage) { // the book opens on its first page; the turn onto the special page is refused
        ASSERT_TRUE(WaitUntil([&] { return shows(1); }));
        turn();
    }
    EXPECT_EQ(messages, std::vector{QString::fromUtf8(name.second)});
    EXPECT_LT(answeredAfterMs, 1000);
    messages.clear();

    if (frame->View().m_pageList.empty()) { // nothing was open before: the next book still opens
        ASSERT_TRUE(fixtures::DropPaths(&frame->View(), {folder}));
        ASSERT_TRUE(WaitUntil([&] { return shows(1); }));
    }
    turn();
    EXPECT_TRUE(WaitUntil([&] { return shows(3); })) << frame->windowTitle().toStdString();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    const auto& [kind, name, byDrop] = info.param;
    std::string label =
        fixtures::SpecialFileName(kind) + std::string("_") + name.first + (byDrop ? "_Drop" : "_CommandLine");
    std::replace(label.begin(), label.end(), '.', '_');
    return label;
}

INSTANTIATE_TEST_SUITE_P(SpecialFiles, SpecialFileRow,
                         ::testing::Combine(::testing::Values(SpecialFile::Fifo, SpecialFile::Socket,
                                                              SpecialFile::NullDevice,
                                                              SpecialFile::ZeroDevice),
                                            ::testing::ValuesIn(kNames), ::testing::Bool()),
                         RowName);

} // namespace
