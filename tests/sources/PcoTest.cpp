// Opening PCO books and reading their pages, including damaged and hostile heads.
#include "sources/Pco.h"

#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "sources/PageNames.h"

#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

class PcoBooks : public ::testing::Test {
protected:
    std::string Write(const Bytes& bytes, const std::string& name = "book.pco")
    {
        const std::string path = JoinPath(m_dir.path().toStdString(), name);
        EXPECT_TRUE(fixtures::WriteFile(path, bytes));
        return path;
    }
    // CPco holds a 5.4 KB directory; keep it off the test's stack like the view's member.
    std::unique_ptr<CPco> m_pco = std::make_unique<CPco>();
    QTemporaryDir m_dir;
};

// The layout worked through by hand: no title, two records (0,100) and (100,50).
Bytes WorkedBook()
{
    return fixtures::PcoBytes("", 2, {{0, 100}, {100, 50}}, fixtures::PatternBytes(150, 3));
}

} // namespace

TEST_F(PcoBooks, WorkedLayoutPlacesTheDataAreaAfterTheDirectory)
{
    ASSERT_TRUE(m_pco->Open(Write(WorkedBook())));
    EXPECT_EQ(m_pco->m_dataStart, 27);
    EXPECT_EQ(m_pco->m_count, 2);
    PcoEntry entry{};
    ASSERT_TRUE(m_pco->GetEntry(1, entry));
    EXPECT_EQ(entry.offset, 127);
    EXPECT_EQ(entry.size, 50);
}

TEST_F(PcoBooks, EachPageReadsExactlyItsOwnBytes)
{
    const Bytes file = WorkedBook();
    ASSERT_TRUE(m_pco->Open(Write(file)));
    Bytes page;
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_EQ(page, Slice(file, 27, 100));
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0001", page));
    EXPECT_EQ(page, Slice(file, 127, 50));
}

TEST_F(PcoBooks, TitleShiftsTheDirectoryAndIsKept)
{
    const Bytes picture = fixtures::PatternBytes(40, 9);
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBook("Hello", {picture}))));
    EXPECT_EQ(m_pco->m_titleLen, 5);
    EXPECT_STREQ(m_pco->m_title, "Hello");
    EXPECT_EQ(m_pco->m_dataStart, 9 + 5 + 9);
    Bytes page;
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_EQ(page, picture);
}

TEST_F(PcoBooks, PageNameWithLeadingZerosAddressesItsIndex)
{
    std::vector<Bytes> pictures;
    for (unsigned i = 0; i < 13; ++i)
        pictures.push_back(fixtures::PatternBytes(20 + i, i));
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBook("", pictures))));
    Bytes page;
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0012", page));
    EXPECT_EQ(page, pictures[12]);
}

TEST_F(PcoBooks, NamesThatAreNotAnIndexInTheDirectoryFail)
{
    ASSERT_TRUE(m_pco->Open(Write(WorkedBook())));
    Bytes page;
    for (const char* name : {"0002", "abc", "", "-1", "99999999999", "4294967296"})
        EXPECT_FALSE(ReadPcoEntry(*m_pco, name, page)) << name;
}

TEST_F(PcoBooks, EmptyDirectoryOpensWithNoPages)
{
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBytes("Title", 0, {}, {1, 2, 3}))));
    EXPECT_EQ(m_pco->m_count, 0);
    PcoEntry entry{};
    EXPECT_FALSE(m_pco->GetEntry(0, entry));
}

TEST_F(PcoBooks, LargestDirectoryOpensAndOneMoreIsRefused)
{
    std::vector<Bytes> pictures(599, Bytes{0xAB});
    pictures.back() = {1, 2, 3};
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBook("", pictures))));
    Bytes page;
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0598", page));
    EXPECT_EQ(page, (Bytes{1, 2, 3}));

    pictures.push_back({4});
    EXPECT_FALSE(m_pco->Open(Write(fixtures::PcoBook("", pictures))));
}

TEST_F(PcoBooks, HugeCountIsRefused)
{
    EXPECT_FALSE(m_pco->Open(Write(fixtures::PcoBytes("", std::numeric_limits<std::int32_t>::max(), {}, Bytes(64)))));
}

TEST_F(PcoBooks, NegativeCountOpensWithNoPages)
{
    for (const std::int32_t count : {-1, std::numeric_limits<std::int32_t>::min()}) {
        ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBytes("", count, {}, Bytes(8, 1))))) << count;
        EXPECT_EQ(m_pco->m_dataStart, 9) << count;
        PcoEntry entry{};
        EXPECT_FALSE(m_pco->GetEntry(0, entry)) << count;
    }
}

TEST_F(PcoBooks, NineByteFileIsRefusedAndTenBytesOpen)
{
    EXPECT_FALSE(m_pco->Open(Write(fixtures::PcoBytes("", 0, {}, {}))));
    EXPECT_FALSE(m_pco->Open(Write(fixtures::PcoBytes("", -1, {}, {}))));
    EXPECT_TRUE(m_pco->Open(Write(fixtures::PcoBytes("", 0, {}, {0x55}))));
}

TEST_F(PcoBooks, ShortHeadIsRefused)
{
    EXPECT_FALSE(m_pco->Open(Write({'P', 'C', 'O'})));
    EXPECT_FALSE(m_pco->Open(Write({})));
}

TEST_F(PcoBooks, DirectoryCutShortLeavesUnreadRecordsEmpty)
{
    // Three records announced, one present: the file ends inside the directory.
    Bytes file = fixtures::PcoBytes("", 3, {{0, 4}}, {});
    ASSERT_TRUE(m_pco->Open(Write(file)));
    PcoEntry entry{};
    ASSERT_TRUE(m_pco->GetEntry(2, entry));
    EXPECT_EQ(entry.offset, m_pco->m_dataStart);
    EXPECT_EQ(entry.size, 0);
    Bytes page;
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0002", page));
}

TEST_F(PcoBooks, EntryReachingPastTheEndFailsInsteadOfHandingUnreadBytes)
{
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBytes("", 2, {{0, 10}, {40, 20}}, fixtures::PatternBytes(50, 1)))));
    Bytes page;
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0001", page));
    EXPECT_TRUE(page.empty());
}

TEST_F(PcoBooks, EmptyOrNegativeSizedEntryFails)
{
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBytes("", 2, {{0, 0}, {0, -5}}, Bytes(16)))));
    Bytes page;
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0001", page));
}

TEST_F(PcoBooks, OffsetsThatOverflowOrPointBeforeTheFileFail)
{
    const std::int32_t maxOffset = std::numeric_limits<std::int32_t>::max();
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBytes("", 3, {{maxOffset, 8}, {-1000, 8}, {maxOffset - 40, 8}},
                                                     Bytes(64, 9)))));
    Bytes page;
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0001", page));
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0002", page));
}

TEST_F(PcoBooks, EntryPointingIntoTheDirectoryReadsTheBytesThere)
{
    // Records are not checked against the data area; such an entry still reads real bytes.
    const Bytes file = fixtures::PcoBytes("", 1, {{-18, 9}}, Bytes(4, 1));
    ASSERT_TRUE(m_pco->Open(Write(file)));
    Bytes page;
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_EQ(page, Slice(file, 0, 9));
}

TEST_F(PcoBooks, TitleLengthAboveTheTitleFieldIsRefused)
{
    // 101 does not fit the 100-byte title; 200 is negative as a signed byte.
    for (const std::size_t length : {std::size_t{101}, std::size_t{200}}) {
        const Bytes file = fixtures::PcoBytes(std::string(length, 'T'), 1, {{0, 4}}, Bytes(4, 1));
        EXPECT_FALSE(m_pco->Open(Write(file))) << length;
    }
}

TEST_F(PcoBooks, LongestTitleOpens)
{
    const std::string title(100, 'T');
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBook(title, {{7, 7}}))));
    EXPECT_EQ(std::string(m_pco->m_title, sizeof(m_pco->m_title)), title);
    Bytes page;
    ASSERT_TRUE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_EQ(page, (Bytes{7, 7}));
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
    Bytes page;
    EXPECT_FALSE(ReadPcoEntry(*m_pco, "0000", page));
    EXPECT_TRUE(page.empty());
}

TEST_F(PcoBooks, ReopeningClearsRecordsOfTheEarlierBook)
{
    ASSERT_TRUE(m_pco->Open(Write(WorkedBook(), "first.pco")));
    // Two records announced, only part of the first present: the second must read as
    // empty, not as the first book's.
    ASSERT_TRUE(m_pco->Open(Write(fixtures::PcoBytes("", 2, {}, Bytes(5, 0)), "second.pco")));
    PcoEntry entry{};
    ASSERT_TRUE(m_pco->GetEntry(1, entry));
    EXPECT_EQ(entry.size, 0);
}
