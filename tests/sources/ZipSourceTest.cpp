// Listing the pictures of ZIP books and reading their entries, including damaged and
// hostile archives.
#include "sources/ZipSource.h"

#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "sources/PageNames.h"

#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;
using fixtures::PatternBytes;
using fixtures::ZipItem;

class ZipBooks : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return JoinPath(m_dir.path().toStdString(), name); }
    std::string Write(const std::vector<ZipItem>& items, const std::string& name = "book.zip")
    {
        EXPECT_TRUE(fixtures::WriteZip(Path(name), items));
        return Path(name);
    }
    Bytes Read(const std::string& zip, const std::string& entry, const ZipIndex* index = nullptr)
    {
        Bytes bytes;
        EXPECT_TRUE(ReadZipEntry(zip, entry, bytes, index)) << entry;
        return bytes;
    }
    // A failed read must leave nothing behind, whatever `bytes` held before.
    void ExpectReadFails(const std::string& zip, const std::string& entry, const ZipIndex* index = nullptr)
    {
        Bytes bytes{9, 9};
        EXPECT_FALSE(ReadZipEntry(zip, entry, bytes, index)) << entry;
        EXPECT_TRUE(bytes.empty()) << entry;
    }
    QTemporaryDir m_dir;
};

TEST_F(ZipBooks, ListsPicturesOnlyByTheirStoredNamesInArchiveOrder)
{
    const std::string zip = Write({{"Vol1/", {}}, {"b/1.JPG", {1}}, {"x.jpg/", {}}, {"dir\\x.jpg", {5}},
                                   {"a/b/c/deep.gif", {6}}, {"readme.txt", {3}}, {"10.jpg", {2}}});
    const ZipListing listing = ListZipPictures(zip);
    ASSERT_EQ(listing.status, ZipListing::Ok);
    EXPECT_EQ(listing.pages, (Names{"b/1.JPG", "dir\\x.jpg", "a/b/c/deep.gif", "10.jpg"}));

    const ZipListing textOnly = ListZipPictures(Write({{"a.txt", {1}}, {"b.doc", {2}}}, "text.zip"));
    EXPECT_EQ(textOnly.status, ZipListing::Ok);
    EXPECT_TRUE(textOnly.pages.empty());
}

TEST_F(ZipBooks, WhatIsNotAWholeArchiveCannotBeOpened)
{
    const auto goodThen = [this](std::function<bool(const std::string&)> damage) {
        const std::string zip = Write({{"1.jpg", PatternBytes(4000, 1)}, {"2.jpg", PatternBytes(4000, 2)}});
        EXPECT_TRUE(damage(zip));
        return zip;
    };
    const std::pair<const char*, std::function<std::string()>> cases[] = {
        {"not an archive", [&] { fixtures::WriteFile(Path("fake.zip"), PatternBytes(500, 4)); return Path("fake.zip"); }},
        {"missing", [&] { return Path("missing.zip"); }},
        {"a folder", [&] { return m_dir.path().toStdString(); }},
        {"damaged end record", [&] { return goodThen(fixtures::DamageZipEndRecord); }},
        {"cut in half", [&] {
             return goodThen([](const std::string& p) { return fixtures::TruncateFile(p, std::filesystem::file_size(p) / 2); });
         }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        const std::string zip = make();
        EXPECT_EQ(ListZipPictures(zip).status, ZipListing::CannotOpen);
        ExpectReadFails(zip, "1.jpg");
    }
}

TEST_F(ZipBooks, DamagedDirectoryRecordKeepsThePagesListedBeforeIt)
{
    const std::string zip = Write({{"1.jpg", {1}}, {"2.jpg", {2}}, {"3.jpg", {3}}});
    ASSERT_TRUE(fixtures::DamageZipDirectoryRecord(zip, "2.jpg"));
    const ZipListing listing = ListZipPictures(zip);
    EXPECT_EQ(listing.status, ZipListing::Ok);
    EXPECT_EQ(listing.pages, Names{"1.jpg"});
}

TEST_F(ZipBooks, DirectoryLargerThanOneReadWindowIsListedWhole)
{
    // About 3000 records of ~70 bytes: the walk crosses several windows of the file, and
    // records straddle their edges.
    std::vector<ZipItem> items;
    Names names;
    for (unsigned i = 0; i < 3000; ++i) {
        names.push_back("chapter/page-" + std::string(i % 7, 'x') + std::to_string(i) + ".jpg");
        items.push_back({names.back(), PatternBytes(1 + i % 5, i), i % 2 == 0});
    }
    const std::string zip = Write(items);
    EXPECT_EQ(ListZipPictures(zip).pages, names);
    for (const unsigned i : {0u, 1499u, 2999u})
        EXPECT_EQ(Read(zip, names[i]), items[i].data) << names[i];
}

TEST_F(ZipBooks, EveryEntryReadsItsOwnExactBytesBySearchAndByIndex)
{
    // The long names share their first 299 bytes: cutting them would merge the pages.
    const std::string longName = "deep/" + std::string(290, 'n');
    const std::vector<ZipItem> items = {
        {"stored.jpg", PatternBytes(3000, 1), false}, {"deflated.jpg", Bytes(50000, 0x42), true},
        {"Page.jpg", PatternBytes(64, 2)},            {"page.jpg", PatternBytes(64, 3)},
        {longName + "1.jpg", PatternBytes(32, 4)},    {longName + "2.jpg", PatternBytes(32, 5)},
        {"Vol1/A.JPG", PatternBytes(64, 6)},
    };
    const std::string zip = Write(items);
    const ZipListing listing = ListZipPictures(zip);
    ASSERT_EQ(listing.pages.size(), items.size());
    EXPECT_EQ(listing.index.fileSize, static_cast<std::int64_t>(std::filesystem::file_size(zip)));
    for (const ZipItem& item : items) {
        EXPECT_EQ(Read(zip, item.name), item.data) << item.name;
        EXPECT_EQ(Read(zip, item.name, &listing.index), item.data) << item.name;
    }
    // A name in another letter case finds the entry when none matches exactly.
    EXPECT_EQ(Read(zip, "vol1/a.jpg"), items.back().data);
}

TEST_F(ZipBooks, EntriesThatCannotBeReadWholeFail)
{
    const std::string zip = Write({{"short.jpg", PatternBytes(1000, 5)}, {"empty.jpg", {}}, {"ok.jpg", {1, 2}}});
    ASSERT_TRUE(fixtures::SetZipDeclaredSize(zip, "short.jpg", 5000));
    ExpectReadFails(zip, "short.jpg");
    ExpectReadFails(zip, "empty.jpg");
    ExpectReadFails(zip, "missing.jpg");
    EXPECT_EQ(Read(zip, "ok.jpg"), (Bytes{1, 2}));

    // A real bomb: inflating it would succeed, so only the size limit stops it.
    const std::string bomb = Path("bomb.zip");
    ASSERT_TRUE(fixtures::WriteZipOfZeros(bomb, "bomb.jpg", kMaxZipEntrySize + 1));
    EXPECT_EQ(ListZipPictures(bomb).pages, Names{"bomb.jpg"});
    Bytes bytes;
    EXPECT_FALSE(ReadZipEntry(bomb, "bomb.jpg", bytes));
    EXPECT_LT(bytes.capacity(), kMaxZipEntrySize);
}

TEST_F(ZipBooks, IndexOfAReplacedArchiveNeverReadsAnotherEntry)
{
    // Same size and time stamp, entries in the other order: the index now points at the
    // wrong entries, and only the name check stands between the reader and a wrong page.
    const std::string zip = Write({{"a.jpg", PatternBytes(100, 1)}, {"b.jpg", PatternBytes(100, 2)}});
    const ZipListing listing = ListZipPictures(zip);
    const auto stamp = std::filesystem::last_write_time(zip);
    const auto size = std::filesystem::file_size(zip);
    Write({{"b.jpg", PatternBytes(100, 4)}, {"a.jpg", PatternBytes(100, 3)}});
    std::filesystem::last_write_time(zip, stamp);
    ASSERT_EQ(std::filesystem::file_size(zip), size);
    EXPECT_EQ(Read(zip, "a.jpg", &listing.index), PatternBytes(100, 3));
    EXPECT_EQ(Read(zip, "b.jpg", &listing.index), PatternBytes(100, 4));
}

TEST_F(ZipBooks, IndexOfAReplacedArchiveFallsBackToTheNewFile)
{
    const std::string zip = Write({{"a.jpg", {1}}, {"b.jpg", {2}}});
    const ZipListing listing = ListZipPictures(zip);
    Write({{"new.txt", PatternBytes(300, 1)}, {"b.jpg", PatternBytes(5000, 8)}});
    EXPECT_EQ(Read(zip, "b.jpg", &listing.index), PatternBytes(5000, 8));
    ExpectReadFails(zip, "a.jpg", &listing.index);
    ASSERT_TRUE(fixtures::WriteFile(zip, PatternBytes(400, 2)));
    ExpectReadFails(zip, "b.jpg", &listing.index);
}

} // namespace
