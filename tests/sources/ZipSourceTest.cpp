// Listing the pictures of ZIP books and reading their entries, including damaged and
// hostile archives.
#include "sources/ZipSource.h"

#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "sources/PageNames.h"

#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
using fixtures::PatternBytes;
using fixtures::ZipItem;

class ZipBooks : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return JoinPath(m_dir.path().toStdString(), name); }
    std::string Write(const std::vector<ZipItem>& items, const std::string& name = "book.zip")
    {
        const std::string path = Path(name);
        EXPECT_TRUE(fixtures::WriteZip(path, items));
        return path;
    }
    Bytes Read(const std::string& zip, const std::string& entry, const ZipIndex* index = nullptr)
    {
        Bytes bytes;
        EXPECT_TRUE(ReadZipEntry(zip, entry, bytes, index)) << entry;
        return bytes;
    }
    QTemporaryDir m_dir;
};

std::vector<std::string> Pages(const ZipListing& listing)
{
    return listing.pages;
}

} // namespace

TEST_F(ZipBooks, ListsPicturesOnlyWithTheirStoredNames)
{
    const std::string zip = Write({{"Vol1/", {}}, {"Vol1/001.JPG", {1}}, {"Vol1/002.jpg", {2}}, {"readme.txt", {3}}});
    const ZipListing listing = ListZipPictures(zip);
    ASSERT_EQ(listing.status, ZipListing::Ok);
    EXPECT_EQ(Pages(listing), (std::vector<std::string>{"Vol1/001.JPG", "Vol1/002.jpg"}));
}

TEST_F(ZipBooks, EntryEndingInSlashIsAFolderEvenWithAPictureName)
{
    const std::string zip = Write({{"x.jpg/", {}}, {"dir\\x.jpg", {5}}, {"a/b/c/deep.gif", {6}}});
    EXPECT_EQ(Pages(ListZipPictures(zip)), (std::vector<std::string>{"dir\\x.jpg", "a/b/c/deep.gif"}));
}

TEST_F(ZipBooks, ListingKeepsArchiveOrderForTheCallerToSort)
{
    const std::string zip = Write({{"b/1.jpg", {1}}, {"a/2.jpg", {2}}, {"10.jpg", {3}}});
    EXPECT_EQ(Pages(ListZipPictures(zip)), (std::vector<std::string>{"b/1.jpg", "a/2.jpg", "10.jpg"}));
}

TEST_F(ZipBooks, ArchiveWithoutPicturesOpensWithNoPages)
{
    const ZipListing textOnly = ListZipPictures(Write({{"a.txt", {1}}, {"b.doc", {2}}}, "text.zip"));
    EXPECT_EQ(textOnly.status, ZipListing::Ok);
    EXPECT_TRUE(textOnly.pages.empty());
}

TEST_F(ZipBooks, FilesThatAreNotArchivesCannotBeOpened)
{
    ASSERT_TRUE(fixtures::WriteFile(Path("fake.zip"), PatternBytes(500, 4)));
    EXPECT_EQ(ListZipPictures(Path("fake.zip")).status, ZipListing::CannotOpen);
    EXPECT_EQ(ListZipPictures(Path("missing.zip")).status, ZipListing::CannotOpen);
    EXPECT_EQ(ListZipPictures(m_dir.path().toStdString()).status, ZipListing::CannotOpen);
}

TEST_F(ZipBooks, DamagedEndRecordCannotBeOpened)
{
    const std::string zip = Write({{"1.jpg", PatternBytes(100, 1)}});
    ASSERT_TRUE(fixtures::DamageZipEndRecord(zip));
    EXPECT_EQ(ListZipPictures(zip).status, ZipListing::CannotOpen);
}

TEST_F(ZipBooks, TruncatedArchiveCannotBeOpened)
{
    const std::string zip = Write({{"1.jpg", PatternBytes(4000, 1)}, {"2.jpg", PatternBytes(4000, 2)}});
    ASSERT_TRUE(fixtures::TruncateFile(zip, std::filesystem::file_size(zip) / 2));
    EXPECT_EQ(ListZipPictures(zip).status, ZipListing::CannotOpen);
    Bytes bytes;
    EXPECT_FALSE(ReadZipEntry(zip, "1.jpg", bytes));
}

TEST_F(ZipBooks, DamagedDirectoryRecordKeepsThePagesListedBeforeIt)
{
    const std::string zip = Write({{"1.jpg", {1}}, {"2.jpg", {2}}, {"3.jpg", {3}}});
    ASSERT_TRUE(fixtures::DamageZipDirectoryRecord(zip, "2.jpg"));
    const ZipListing listing = ListZipPictures(zip);
    EXPECT_EQ(listing.status, ZipListing::Ok);
    EXPECT_EQ(Pages(listing), (std::vector<std::string>{"1.jpg"}));
}

TEST_F(ZipBooks, DirectoryLargerThanOneReadWindowIsListedWhole)
{
    // About 3000 records of ~70 bytes: the walk crosses several windows of the file, and
    // records straddle their edges.
    std::vector<ZipItem> items;
    std::vector<std::string> names;
    for (unsigned i = 0; i < 3000; ++i) {
        names.push_back("chapter/page-" + std::string(i % 7, 'x') + std::to_string(i) + ".jpg");
        items.push_back({names.back(), PatternBytes(1 + i % 5, i), i % 2 == 0});
    }
    const std::string zip = Write(items);
    EXPECT_EQ(Pages(ListZipPictures(zip)), names);
    for (const unsigned i : {0u, 1499u, 2999u})
        EXPECT_EQ(Read(zip, names[i]), items[i].data) << names[i];
}

TEST_F(ZipBooks, StoredAndDeflatedEntriesReadTheirExactBytes)
{
    const Bytes stored = PatternBytes(3000, 1);
    const Bytes deflated = Bytes(50000, 0x42);
    const std::string zip = Write({{"s.jpg", stored, false}, {"d.jpg", deflated, true}});
    EXPECT_EQ(Read(zip, "s.jpg"), stored);
    EXPECT_EQ(Read(zip, "d.jpg"), deflated);
}

TEST_F(ZipBooks, EntriesDifferingOnlyInCaseEachReadTheirOwnBytes)
{
    const Bytes upper = PatternBytes(64, 1);
    const Bytes lower = PatternBytes(64, 2);
    const std::string zip = Write({{"Page.jpg", upper}, {"page.jpg", lower}});
    EXPECT_EQ(Read(zip, "Page.jpg"), upper);
    EXPECT_EQ(Read(zip, "page.jpg"), lower);
}

TEST_F(ZipBooks, NameInOtherLetterCaseFindsTheEntry)
{
    const Bytes picture = PatternBytes(64, 7);
    const std::string zip = Write({{"other.jpg", {1}}, {"Vol1/A.JPG", picture}});
    EXPECT_EQ(Read(zip, "vol1/a.jpg"), picture);
}

TEST_F(ZipBooks, MissingEntryFails)
{
    const std::string zip = Write({{"1.jpg", {1}}});
    Bytes bytes{9, 9};
    EXPECT_FALSE(ReadZipEntry(zip, "2.jpg", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadZipEntry(Path("missing.zip"), "1.jpg", bytes));
}

TEST_F(ZipBooks, LongNamesAreListedAndReadWhole)
{
    // The two names share their first 299 bytes: cutting them would merge the pages.
    const std::string base = "deep/" + std::string(290, 'n');
    const std::string first = base + "1.jpg";
    const std::string second = base + "2.jpg";
    ASSERT_EQ(first.size(), 300u);
    const std::string zip = Write({{first, PatternBytes(32, 1)}, {second, PatternBytes(32, 2)}});
    EXPECT_EQ(Pages(ListZipPictures(zip)), (std::vector<std::string>{first, second}));
    EXPECT_EQ(Read(zip, first), PatternBytes(32, 1));
    EXPECT_EQ(Read(zip, second), PatternBytes(32, 2));
}

TEST_F(ZipBooks, EmptyEntryIsNotAPage)
{
    const std::string zip = Write({{"empty.jpg", {}}});
    Bytes bytes;
    EXPECT_FALSE(ReadZipEntry(zip, "empty.jpg", bytes));
}

TEST_F(ZipBooks, EntryShorterThanItsDeclaredSizeFails)
{
    const std::string zip = Write({{"short.jpg", PatternBytes(1000, 5)}, {"ok.jpg", {1, 2}}});
    ASSERT_TRUE(fixtures::SetZipDeclaredSize(zip, "short.jpg", 5000));
    Bytes bytes;
    EXPECT_FALSE(ReadZipEntry(zip, "short.jpg", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(Read(zip, "ok.jpg"), (Bytes{1, 2}));
}

TEST_F(ZipBooks, EntryLargerThanTheLimitIsRefused)
{
    // A real bomb: inflating it would succeed, so only the limit stops it.
    const std::string zip = Path("bomb.zip");
    ASSERT_TRUE(fixtures::WriteZipOfZeros(zip, "bomb.jpg", kMaxZipEntrySize + 1));
    EXPECT_EQ(Pages(ListZipPictures(zip)), (std::vector<std::string>{"bomb.jpg"}));
    Bytes bytes;
    EXPECT_FALSE(ReadZipEntry(zip, "bomb.jpg", bytes));
    EXPECT_LT(bytes.capacity(), kMaxZipEntrySize);
}

TEST_F(ZipBooks, IndexedReadGivesTheSameBytesAsTheSearch)
{
    std::vector<ZipItem> items;
    for (unsigned i = 0; i < 30; ++i)
        items.push_back({"p" + std::to_string(i) + ".jpg", PatternBytes(100 + i, i)});
    const std::string zip = Write(items);
    const ZipListing listing = ListZipPictures(zip);
    EXPECT_EQ(listing.index.fileSize, static_cast<std::int64_t>(std::filesystem::file_size(zip)));
    ASSERT_EQ(listing.index.positions.size(), items.size());
    for (const ZipItem& item : items)
        EXPECT_EQ(Read(zip, item.name, &listing.index), item.data) << item.name;
}

TEST_F(ZipBooks, IndexOfAReplacedArchiveNeverReadsAnotherEntry)
{
    // Same size and time stamp, entries in the other order: the index now points at the
    // wrong entries, and only the name check stands between the reader and a wrong page.
    const Bytes a = PatternBytes(100, 1);
    const Bytes b = PatternBytes(100, 2);
    const std::string zip = Write({{"a.jpg", a}, {"b.jpg", b}});
    const ZipListing listing = ListZipPictures(zip);
    const auto stamp = std::filesystem::last_write_time(zip);
    const auto size = std::filesystem::file_size(zip);

    const Bytes newA = PatternBytes(100, 3);
    const Bytes newB = PatternBytes(100, 4);
    Write({{"b.jpg", newB}, {"a.jpg", newA}});
    std::filesystem::last_write_time(zip, stamp);
    ASSERT_EQ(std::filesystem::file_size(zip), size);

    EXPECT_EQ(Read(zip, "a.jpg", &listing.index), newA);
    EXPECT_EQ(Read(zip, "b.jpg", &listing.index), newB);
}

TEST_F(ZipBooks, IndexOfAReplacedArchiveFallsBackToTheNewFile)
{
    const std::string zip = Write({{"a.jpg", {1}}, {"b.jpg", {2}}});
    const ZipListing listing = ListZipPictures(zip);
    const Bytes grown = PatternBytes(5000, 8);
    Write({{"new.txt", PatternBytes(300, 1)}, {"b.jpg", grown}});
    EXPECT_EQ(Read(zip, "b.jpg", &listing.index), grown);
    Bytes bytes;
    EXPECT_FALSE(ReadZipEntry(zip, "a.jpg", bytes, &listing.index));

    ASSERT_TRUE(fixtures::WriteFile(zip, PatternBytes(400, 2)));
    EXPECT_FALSE(ReadZipEntry(zip, "b.jpg", bytes, &listing.index));
}
