// Opening PCO books and reading their pages, including damaged and hostile heads.
#include "sources/Pco.h"

#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "sources/PageNames.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

using Bytes = std::vector<std::uint8_t>;
using fixtures::PatternBytes;
using fixtures::PcoBytes;
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// The layout worked through by hand: no title, two records (0,100) and (100,50).
Bytes WorkedBook()
{
    return PcoBytes("", 2, {{0, 100}, {100, 50}}, PatternBytes(150, 3));
}

class PcoBooks : public ::testing::Test {
protected:
    std::string Write(const Bytes& bytes, const std::string& name = "book.pco")
    {
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

TEST_F(PcoBooks, WorkedLayoutReadsEachPageExactly)
{
    const Bytes file = WorkedBook();
    ASSERT_TRUE(m_pco->Open(Write(file)));
    EXPECT_EQ(m_pco->m_dataStart, 27);
    EXPECT_EQ(m_pco->m_count, 2);
    PcoEntry entry{};
    ASSERT_TRUE(m_pco->GetEntry(1, entry));
    EXPECT_EQ(entry.offset, 127);
    EXPECT_EQ(entry.size, 50);
    ASSERT_TRUE(Read("0000"));
    EXPECT_EQ(m_page, Slice(file, 27, 100));
    ASSERT_TRUE(Read("0001"));
    EXPECT_EQ(m_page, Slice(file, 127, 50));
}

TEST_F(PcoBooks, TitleUpToItsFieldSizeShiftsTheDirectoryAndIsKept)
{
    for (const std::string& title : {std::string("Hello"), std::string(100, 'T')}) {
        SCOPED_TRACE(title.size());
        const Bytes picture = PatternBytes(40, 9);
        ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBook(title, {picture}))));
        EXPECT_EQ(static_cast<std::uint8_t>(m_pco->m_titleLen), title.size());
        EXPECT_EQ(std::string(m_pco->m_title, title.size()), title);
        EXPECT_EQ(m_pco->m_dataStart, static_cast<std::int32_t>(9 + title.size() + 9));
        ASSERT_TRUE(Read("0000"));
        EXPECT_EQ(m_page, picture);
    }
}

TEST_F(PcoBooks, OnlyNamesThatAreAnIndexInTheDirectoryRead)
{
    std::vector<Bytes> pictures;
    for (unsigned i = 0; i < 13; ++i)
        pictures.push_back(PatternBytes(20 + i, i));
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBook("", pictures))));
    ASSERT_TRUE(Read("0012"));
    EXPECT_EQ(m_page, pictures[12]);
    for (const char* name : {"0013", "abc", "", "-1", "99999999999", "4294967296"})
        EXPECT_FALSE(Read(name)) << '"' << name << '"';
}

TEST_F(PcoBooks, HeadsAreRefusedOrOpenWithTheirPageCount)
{
    std::vector<Bytes> most(599, Bytes{0xAB});
    std::vector<Bytes> tooMany(600, Bytes{0xAB});
    struct Case {
        const char* name;
        Bytes bytes;
        bool opens;
        std::int32_t pages;
    };
    const Case cases[] = {
        {"empty file", {}, false, 0},
        {"short head", {'P', 'C', 'O'}, false, 0},
        {"nine bytes", PcoBytes("", 0, {}, {}), false, 0},
        {"nine bytes counting -1", PcoBytes("", -1, {}, {}), false, 0},
        {"ten bytes", PcoBytes("", 0, {}, {0x55}), true, 0},
        {"empty directory", PcoBytes("Title", 0, {}, {1, 2, 3}), true, 0},
        {"count -1", PcoBytes("", -1, {}, Bytes(8, 1)), true, 0},
        {"count INT32_MIN", PcoBytes("", std::numeric_limits<std::int32_t>::min(), {}, Bytes(8, 1)), true, 0},
        {"count INT32_MAX", PcoBytes("", kInt32Max, {}, Bytes(64)), false, 0},
        {"599 pages", fixtures::PcoBook("", most), true, 599},
        {"600 pages", fixtures::PcoBook("", tooMany), false, 0},
        {"title of 101", PcoBytes(std::string(101, 'T'), 1, {{0, 4}}, Bytes(4, 1)), false, 0},
        {"title of 200 (negative as a signed byte)", PcoBytes(std::string(200, 'T'), 1, {{0, 4}}, Bytes(4, 1)), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(m_pco->Open(Write(c.bytes)), c.opens);
        if (!c.opens)
            continue;
        PcoEntry entry{};
        EXPECT_EQ(c.pages > 0, m_pco->GetEntry(c.pages - 1, entry));
        EXPECT_FALSE(m_pco->GetEntry(c.pages, entry));
        if (c.pages == 0) {
            EXPECT_EQ(m_pco->m_dataStart, 9 + static_cast<std::int32_t>(c.bytes[4]));
        }
    }
}

TEST_F(PcoBooks, RecordsOutsideTheFileFailWithoutHandingUnreadBytes)
{
    const Bytes file = PcoBytes("", 8,
                                {{0, 10}, {40, 20}, {0, 0}, {0, -5}, {kInt32Max, 8}, {-1000, 8}, {kInt32Max - 40, 8},
                                 {-81, 9}},
                                PatternBytes(50, 1));
    ASSERT_TRUE(m_pco->Open(Write(file)));
    ASSERT_EQ(m_pco->m_dataStart, 81);
    ASSERT_TRUE(Read("0000"));
    for (const char* name : {"0001", "0002", "0003", "0004", "0005", "0006"}) {
        m_page = {1};
        EXPECT_FALSE(Read(name)) << name;
        EXPECT_TRUE(m_page.empty()) << name;
    }
    // Records are not checked against the data area: one pointing into the head reads real bytes.
    ASSERT_TRUE(Read("0007"));
    EXPECT_EQ(m_page, Slice(file, 0, 9));
}

TEST_F(PcoBooks, DirectoryCutShortLeavesUnreadRecordsEmpty)
{
    ASSERT_TRUE(m_pco->Open(Write(WorkedBook(), "first.pco")));
    // Three records announced, one present: the rest must read as empty, not as the first book's.
    ASSERT_TRUE(m_pco->Open(Write(PcoBytes("", 3, {{0, 4}}, {}), "second.pco")));
    for (const int index : {1, 2}) {
        PcoEntry entry{};
        ASSERT_TRUE(m_pco->GetEntry(index, entry)) << index;
        EXPECT_EQ(entry.offset, m_pco->m_dataStart) << index;
        EXPECT_EQ(entry.size, 0) << index;
    }
    EXPECT_FALSE(Read("0002"));
}

TEST_F(PcoBooks, MissingFileFailsAndKeepsThePreviousDirectory)
{
    ASSERT_TRUE(m_pco->Open(Write(WorkedBook())));
    const std::string missing = JoinPath(m_dir.path().toStdString(), "missing.pco");
    EXPECT_FALSE(m_pco->Open(missing));
    EXPECT_EQ(m_pco->m_strPath, missing);
    EXPECT_EQ(m_pco->m_count, 2);
}

TEST_F(PcoBooks, BookCutAfterOpeningFailsThePagesItLost)
{
    const std::string path = Write(WorkedBook());
    ASSERT_TRUE(m_pco->Open(path));
    ASSERT_TRUE(fixtures::TruncateFile(path, 100));
    EXPECT_FALSE(Read("0000"));
    EXPECT_TRUE(m_page.empty());
}

} // namespace
