// ZIP books: listing the pictures and reading entries whole, damaged and hostile archives,
// and archives as other tools write them (names in CP949 or UTF-8, flagged or not, data
// descriptors, stored and deflated entries, macOS resource files), made by the real tools.
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "ToolArchives.h"
#include "sources/NameEncoding.h"
#include "sources/PageNames.h"
#include "sources/ZipSource.h"

#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;
using fixtures::PatternBytes;

class ZipBooks : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return JoinPath(m_dir.path().toStdString(), name); }
    std::string Write(const std::vector<fixtures::ZipItem>& items, const std::string& name = "book.zip") {
        EXPECT_TRUE(fixtures::WriteZip(Path(name), items));
        return Path(name);
    }
    // Reads an entry by a search and by the listing's index, which must agree. A failed read
    // must leave nothing behind, whatever `bytes` held before.
    std::optional<Bytes> Read(const std::string& zip, const std::string& entry,
                              const ZipIndex* index = nullptr) {
        Bytes bytes{9, 9};
        const bool read = ReadZipEntry(zip, entry, bytes, index);
        EXPECT_TRUE(read || bytes.empty()) << entry;
        return read ? std::optional(bytes) : std::nullopt;
    }
    // Each page's shown name and its bytes, read by search and by index alike.
    std::map<std::string, Bytes> ShownAndRead(const std::string& zip) {
        const ZipListing listing = ListZipPictures(zip);
        EXPECT_EQ(listing.status, ZipListing::Ok) << zip;
        std::map<std::string, Bytes> pages;
        for (const std::string& page : listing.pages) {
            const auto bytes = Read(zip, page, &listing.index);
            EXPECT_TRUE(bytes && bytes == Read(zip, page)) << page;
            pages[DisplayNameFromBytes(page, listing.utf8FlaggedPages.contains(page))] =
                bytes.value_or(Bytes{});
        }
        return pages;
    }
    QTemporaryDir m_dir;
};

TEST_F(ZipBooks, ListsPicturesOnlyByTheirStoredNamesInArchiveOrderAndReadsEachExactly) {
    // The long names share their first 299 bytes: cutting them would merge the pages.
    const std::string longName = "deep/" + std::string(290, 'n');
    const std::vector<fixtures::ZipItem> items = {{"stored.jpg", PatternBytes(3000, 1), false},
                                                  {"Vol1/", {}},
                                                  {"deflated.jpg", Bytes(50000, 0x42), true},
                                                  {"Page.jpg", PatternBytes(64, 2)},
                                                  {"page.jpg", PatternBytes(64, 3)},
                                                  {"x.jpg/", {}},
                                                  {longName + "1.jpg", PatternBytes(32, 4)},
                                                  {longName + "2.jpg", PatternBytes(32, 5)},
                                                  {"readme.txt", {3}},
                                                  {"dir\\x.jpg", {5}},
                                                  {"Vol1/A.JPG", PatternBytes(64, 6)}};
    const std::string zip = Write(items);
    const ZipListing listing = ListZipPictures(zip);
    Names pages;
    for (const auto& item : items)
        if (IsImageFileName(item.name)) {
            pages.push_back(item.name);
            EXPECT_EQ(Read(zip, item.name), item.data) << item.name;
            EXPECT_EQ(Read(zip, item.name, &listing.index), item.data) << item.name;
        }
    EXPECT_EQ(listing.pages, pages);
    EXPECT_EQ(listing.index.fileSize, static_cast<std::int64_t>(std::filesystem::file_size(zip)));
    EXPECT_EQ(Read(zip, "vol1/a.jpg"), items.back().data) << "another letter case finds it when none matches";
    EXPECT_TRUE(ListZipPictures(Write({{"a.txt", {1}}}, "text.zip")).pages.empty());

    // About 3000 records of ~70 bytes: the walk crosses several windows of the file, and
    // records straddle their edges.
    std::vector<fixtures::ZipItem> many;
    for (unsigned i = 0; i < 3000; ++i)
        many.push_back({"chapter/page-" + std::string(i % 7, 'x') + std::to_string(i) + ".jpg",
                        PatternBytes(1 + i % 5, i), i % 2 == 0});
    const std::string big = Write(many, "big.zip");
    EXPECT_EQ(ListZipPictures(big).pages.size(), 3000u);
    for (const unsigned i : {0u, 1499u, 2999u})
        EXPECT_EQ(Read(big, many[i].name), many[i].data) << many[i].name;
}

TEST_F(ZipBooks, DamagedAndHostileArchivesAndEntriesFail) {
    const auto damaged = [this](std::function<bool(const std::string&)> damage) {
        const std::string zip = Write({{"1.jpg", PatternBytes(4000, 1)}, {"2.jpg", PatternBytes(4000, 2)}});
        EXPECT_TRUE(damage(zip));
        return zip;
    };
    const std::pair<const char*, std::string> unopenable[] = {
        {"not an archive",
         fixtures::WriteFile(Path("fake.zip"), PatternBytes(500, 4)) ? Path("fake.zip") : ""},
        {"missing", Path("missing.zip")},
        {"a folder", m_dir.path().toStdString()},
        {"damaged end record", damaged(fixtures::DamageZipEndRecord)},
        {"cut in half", damaged([](const std::string& p) {
             return fixtures::TruncateFile(p, std::filesystem::file_size(p) / 2);
         })}};
    for (const auto& [fault, zip] : unopenable) {
        EXPECT_EQ(ListZipPictures(zip).status, ZipListing::CannotOpen) << fault;
        EXPECT_FALSE(Read(zip, "1.jpg")) << fault;
    }
    const std::string zip = Write({{"1.jpg", {1}}, {"2.jpg", {2}}, {"3.jpg", {3}}}, "records.zip");
    ASSERT_TRUE(fixtures::DamageZipDirectoryRecord(zip, "2.jpg"));
    EXPECT_EQ(ListZipPictures(zip).pages, Names{"1.jpg"}) << "the pages listed before a damaged record stay";

    const std::string entries = Write({{"short.jpg", PatternBytes(1000, 5)}, {"empty.jpg", {}}});
    ASSERT_TRUE(fixtures::SetZipDeclaredSize(entries, "short.jpg", 5000));
    for (const char* entry : {"short.jpg", "empty.jpg", "missing.jpg"})
        EXPECT_FALSE(Read(entries, entry)) << entry;
    // A real bomb: inflating it would succeed, so only the size limit stops it.
    const std::string bomb = Path("bomb.zip");
    ASSERT_TRUE(fixtures::WriteZipOfZeros(bomb, "bomb.jpg", kMaxZipEntrySize + 1));
    EXPECT_EQ(ListZipPictures(bomb).pages, Names{"bomb.jpg"});
    Bytes bytes;
    EXPECT_FALSE(ReadZipEntry(bomb, "bomb.jpg", bytes));
    EXPECT_LT(bytes.capacity(), kMaxZipEntrySize);
}

TEST_F(ZipBooks, IndexOfAReplacedArchiveNeverReadsAnotherEntry) {
    // Same size and time stamp, entries in the other order: the index now points at the
    // wrong entries, and only the name check stands between the reader and a wrong page.
    const std::string zip = Write({{"a.jpg", PatternBytes(100, 1)}, {"b.jpg", PatternBytes(100, 2)}});
    const ZipListing listing = ListZipPictures(zip);
    const auto stamp = std::filesystem::last_write_time(zip);
    Write({{"b.jpg", PatternBytes(100, 4)}, {"a.jpg", PatternBytes(100, 3)}});
    std::filesystem::last_write_time(zip, stamp);
    EXPECT_EQ(Read(zip, "a.jpg", &listing.index), PatternBytes(100, 3));
    EXPECT_EQ(Read(zip, "b.jpg", &listing.index), PatternBytes(100, 4));
    // Another size: the index falls back to the new file.
    Write({{"new.txt", PatternBytes(300, 1)}, {"b.jpg", PatternBytes(5000, 8)}});
    EXPECT_EQ(Read(zip, "b.jpg", &listing.index), PatternBytes(5000, 8));
    EXPECT_FALSE(Read(zip, "a.jpg", &listing.index));
    ASSERT_TRUE(fixtures::WriteFile(zip, PatternBytes(400, 2)));
    EXPECT_FALSE(Read(zip, "b.jpg", &listing.index));
}

const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80"; // 한글
const std::string kHangulCp949 = "\xC7\xD1\xB1\xDB";        // 한글
const std::string kBookUtf8 = "\xEC\xB1\x85";               // 책
const std::string kBookCp949 = "\xC3\xA5";                  // 책
const std::string kReplacement = "\xEF\xBF\xBD";

TEST_F(ZipBooks, FoldersPackedByZipAnd7ZipShowTheirNamesAndReadWhole) {
    using fixtures::FolderZipper;
    const std::tuple<const char*, FolderZipper, std::string, std::string, std::string> rows[] = {
        // fault, tool, folder and file names on disk, shown path
        {"infozip_cp949_unflagged_garbled", FolderZipper::InfoZip, kHangulCp949, kBookCp949 + "01.jpg",
         kHangulUtf8 + "/deep/" + kBookUtf8 + "01.jpg"},
        {"infozip_stored_utf8_unflagged_garbled", FolderZipper::InfoZipStored, kHangulUtf8,
         kBookUtf8 + "01.jpg", kHangulUtf8 + "/deep/" + kBookUtf8 + "01.jpg"},
        {"infozip_data_descriptors_unread", FolderZipper::InfoZipToPipe, kHangulCp949, "a.jpg",
         kHangulUtf8 + "/deep/a.jpg"},
        {"sevenzip_utf8_unread", FolderZipper::SevenZip, kHangulUtf8, kBookUtf8 + ".JPG",
         kHangulUtf8 + "/deep/" + kBookUtf8 + ".JPG"}};
    const Bytes p1 = fixtures::EncodeJpeg(fixtures::NumberedPage(40, 60, 1)), p2 = PatternBytes(900, 2);
    int row = 0;
    for (const auto& [fault, zipper, folderName, fileName, shown] : rows) {
        const std::string folder = Path("in" + std::to_string(row)),
                          zip = Path("out" + std::to_string(row++) + ".zip");
        // A nested folder, a second page at the top, and a file that is no page.
        ASSERT_TRUE(fixtures::WriteFilesByByteName(
            folder, {{folderName + "/deep/" + fileName, p1}, {"0.jpg", p2}, {"notes.txt", {'x'}}}))
            << fault;
        ASSERT_TRUE(fixtures::ZipFolder(zipper, folder, zip)) << fault << ": the tool failed or is missing";
        EXPECT_EQ(ShownAndRead(zip), (std::map<std::string, Bytes>{{shown, p1}, {"0.jpg", p2}})) << fault;
    }
}

TEST_F(ZipBooks, PythonZipfileArchivesShowTheirNamesReadWholeAndLeaveOutMacResourceFiles) {
    const Bytes p1 = PatternBytes(700, 1), p2 = PatternBytes(800, 2), junk = {0, 5, 22, 7};
    struct Row {
        const char* fault;
        bool streamed;
        std::vector<fixtures::PythonEntry> entries; // name, data, UTF-8 flag, deflated
        std::map<std::string, Bytes> shown;
    };
    const Row rows[] = {
        {"flagged_utf8_garbled",
         false,
         {{kHangulUtf8 + "/1.jpg", p1, true, true}, {kBookUtf8 + ".gif", p2, true, false}},
         {{kHangulUtf8 + "/1.jpg", p1}, {kBookUtf8 + ".gif", p2}}},
        {"cp949_unflagged_garbled_when_streamed",
         true,
         {{kHangulCp949 + "/" + kBookCp949 + ".jpg", p1, false, true}, {"b/c/2.bmp", p2, false, false}},
         {{kHangulUtf8 + "/" + kBookUtf8 + ".jpg", p1}, {"b/c/2.bmp", p2}}},
        {"invalid_in_both_not_read",
         false,
         {{"\xFF\xFE.jpg", p1, false, true}, {"x/\xC0\xAF.jpg", p2, true, false}},
         {{kReplacement + kReplacement + ".jpg", p1}, {"x/" + kReplacement + kReplacement + ".jpg", p2}}},
        {"macos_resource_files_listed",
         true,
         {{"book/1.jpg", p1, true, true},
          {"__MACOSX/book/._1.jpg", junk, true, true},
          {"book/._2.jpg", junk, true, false},
          {"vol\\._a.jpg", junk, true, false},
          {"vol/__MACOSX/a.jpg", junk, true, false},
          {"book/_2.jpg", p2, true, false},
          {"book/x._3.jpg", p1, true, false},
          {"__MACOSX.jpg", p2, true, false},
          {"vol/.a.jpg", p1, true, false},
          {"__macosx_notes/a.jpg", p2, true, false}},
         {{"book/1.jpg", p1},
          {"book/_2.jpg", p2},
          {"book/x._3.jpg", p1},
          {"__MACOSX.jpg", p2},
          {"vol/.a.jpg", p1},
          {"__macosx_notes/a.jpg", p2}}}};
    int index = 0;
    for (const Row& row : rows) {
        const std::string zip = Path("py" + std::to_string(index++) + ".zip");
        ASSERT_TRUE(fixtures::ZipWithPython(zip, row.entries, row.streamed))
            << row.fault << ": python3 failed";
        EXPECT_EQ(ShownAndRead(zip), row.shown) << row.fault;
    }
}

} // namespace
