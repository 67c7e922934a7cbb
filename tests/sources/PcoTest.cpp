// PCO books with damaged and hostile heads and records, and the regular-file rule under
// them: what may be opened for reading, and what a file that changes under the reader gives.
#include "sources/Pco.h"
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "sources/PageNames.h"
#include "sources/RegularFile.h"

#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

using fixtures::Bytes;
using fixtures::PcoBook;
using fixtures::PcoBytes;
namespace fs = std::filesystem;
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

class PcoBooks : public ::testing::Test {
protected:
    std::string Write(const Bytes& bytes, const std::string& name = "book.pco") {
        const std::string path = JoinPath(m_dir.path().toStdString(), name);
        EXPECT_TRUE(fixtures::WriteFile(path, bytes));
        return path;
    }
    bool Read(const std::string& name) { return ReadPcoEntry(*m_pco, name, m_page); }
    // CPco holds a 5.4 KB directory; keep it off the test's stack like the view's member.
    std::unique_ptr<CPco> m_pco = std::make_unique<CPco>();
    QTemporaryDir m_dir;
    Bytes m_page;
};

// The hostile heads a reader must refuse are rows of the hostile-books table, read through the view.
TEST_F(PcoBooks, HeadsAreRefusedOrOpenWithTheirPageCountAndOnlyRecordsInsideTheFileAreRead) {
    const std::tuple<const char*, Bytes, bool, std::int32_t> rows[] = {
        {"short head", {'P', 'C', 'O'}, false, 0},
        {"ten bytes", PcoBytes("", 0, {}, {0x55}), true, 0},
        {"empty directory", PcoBytes("Title", 0, {}, {1, 2, 3}), true, 0},
        {"count -1", PcoBytes("", -1, {}, Bytes(8, 1)), true, 0},
        {"title of 100", PcoBook(std::string(100, 'T'), {Bytes(40, 9)}), true, 1},
        {"599 pages", PcoBook("", std::vector<Bytes>(599, Bytes{0xAB})), true, 599},
        {"600 pages", PcoBook("", std::vector<Bytes>(600, Bytes{0xAB})), false, 0},
        {"title of 200 (negative as a signed byte)", PcoBytes(std::string(200, 'T'), 1, {}, {}), false, 0}};
    for (const auto& [fault, bytes, opens, pages] : rows) {
        SCOPED_TRACE(fault);
        ASSERT_EQ(m_pco->Open(Write(bytes)), opens);
        PcoEntry entry{};
        if (opens) {
            EXPECT_TRUE(pages == 0 || m_pco->GetEntry(pages - 1, entry));
            EXPECT_FALSE(m_pco->GetEntry(pages, entry));
            EXPECT_EQ(m_pco->m_dataStart, 9 + std::int32_t(bytes[4]) + 9 * pages);
            EXPECT_EQ(pages > 0, Read("0000"));
        }
    }
    // Records: only those inside the file, under names that are an index, are read.
    const Bytes file = PcoBytes(
        "", 8,
        {{0, 10}, {40, 20}, {0, 0}, {0, -5}, {kInt32Max, 8}, {-1000, 8}, {kInt32Max - 40, 8}, {-81, 9}},
        fixtures::PatternBytes(50, 1));
    const std::string path = Write(file);
    ASSERT_TRUE(m_pco->Open(path));
    ASSERT_TRUE(Read("0000"));
    EXPECT_EQ(m_page, Bytes(file.begin() + 81, file.begin() + 91));
    for (const char* name : {"0001", "0002", "0003", "0004", "0005", "0006", "0008", "abc", "", "-1",
                             "99999999999", "4294967296"}) {
        m_page = {1};
        EXPECT_FALSE(Read(name) || !m_page.empty()) << '"' << name << '"';
    }
    // Records are not checked against the data area: one pointing into the head reads real bytes.
    ASSERT_TRUE(Read("0007"));
    EXPECT_EQ(m_page, Bytes(file.begin(), file.begin() + 9));
    fs::resize_file(path, 85);
    EXPECT_FALSE(Read("0000")) << "a page the book lost after opening";
    // Three records announced, one present: the rest must read as empty, not as the last book's.
    ASSERT_TRUE(m_pco->Open(Write(PcoBytes("", 3, {{0, 4}}, {}), "second.pco")));
    for (const int index : {1, 2}) {
        PcoEntry entry{};
        ASSERT_TRUE(m_pco->GetEntry(index, entry)) << index;
        EXPECT_TRUE(entry.offset == m_pco->m_dataStart && entry.size == 0) << index;
    }
    EXPECT_FALSE(m_pco->Open(JoinPath(m_dir.path().toStdString(), "missing.pco")));
    EXPECT_EQ(m_pco->m_count, 3);
}

TEST(RegularFileRule, OpensOnlyRegularFilesAndReadsWhatIsThereWhenTheFileChanges) {
    // Pipes, sockets and devices are rows of the frame's special-files table.
    using Step = std::function<void(const std::string&)>;
    const Step none = [](auto&) {}, page = [](auto&p) { fixtures::WriteFile(p, Bytes(100, 1)); };
    const Step link = [&](auto& p) {
        page(p + ".real");
        fs::create_symlink(p + ".real", p);
    };
    const Step replace = [&](auto& p) {
        page(p + ".new");
        fs::rename(p + ".new", p);
    };
    // What opening gives, its size after the change, what reading 100 bytes gives and the first byte.
    const std::tuple<const char*, Step, Step, std::int64_t, std::int64_t, std::uint8_t> rows[] = {
        {"a picture is refused", page, none, 100, 100, 1},
        {"an empty file is taken for a failure", [](auto& p) { fixtures::WriteFile(p, {}); }, none, 0, 0,
         0xEE},
        {"a link to a picture is refused", link, none, 100, 100, 1},
        {"a folder opens", [](auto& p) { fs::create_directory(p); }, none, -1, -1, 0xEE},
        {"a missing file opens", none, none, -1, -1, 0xEE},
        {"a cut file reads past its end", page, [](auto& p) { fs::resize_file(p, 40); }, 100, 40, 1},
        {"a grown file reads more than it had", page, [](auto& p) { fs::resize_file(p, 400); }, 100, 100, 1},
        {"a replaced file reads the new one", page, replace, 100, 100, 1},
        {"a removed file cannot be read", page, [](auto& p) { fs::remove(p); }, 100, 100, 1},
        {"a file cut to nothing reads stale bytes", page, [](auto& p) { fs::resize_file(p, 0); }, 100, 0,
         0xEE}};
    for (const auto& [fault, make, change, size, read, first] : rows) {
        QTemporaryDir dir;
        const std::string path = dir.filePath("page.jpg").toStdString();
        make(path);
        CRegularFile file;
        EXPECT_EQ(file.Open(path), size >= 0) << fault;
        change(path);
        Bytes bytes(100, 0xEE);
        EXPECT_EQ(file.Size(), size) << fault;
        EXPECT_EQ(size < 0 ? -1 : file.ReadAt(0, bytes.data(), bytes.size()), read) << fault;
        EXPECT_EQ(bytes[0], first) << fault;
        EXPECT_EQ(file.ReadAt(-1, bytes.data(), 1), -1) << fault;
    }
}

} // namespace
