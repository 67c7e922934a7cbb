// ZIP books: listing the pictures and reading entries whole, archives that cannot be read,
// and archives as other tools write them (names in CP949 or UTF-8, flagged or not, data
// descriptors, stored and deflated entries, macOS resource files), made by the real tools.
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "ToolArchives.h"
#include "sources/NameEncoding.h"
#include "sources/PageNames.h"
#include "sources/ZipSource.h"

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace fixtures;
using Names = std::vector<std::string>;
using Pages = std::map<std::string, Bytes>;

class ZipBooks : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return JoinPath(m_dir.path().toStdString(), name); }
    std::string Write(const std::vector<ZipItem>& items, const std::string& name = "book.zip") {
        EXPECT_TRUE(WriteZip(Path(name), items));
        return Path(name);
    }
    // A failed read must leave nothing behind, whatever `bytes` held before.
    std::optional<Bytes> Read(const std::string& zip, const std::string& entry,
                              const ZipIndex* index = nullptr) {
        Bytes bytes{9, 9};
        const bool read = ReadZipEntry(zip, entry, bytes, index);
        EXPECT_TRUE(read || bytes.empty()) << entry;
        return read ? std::optional(bytes) : std::nullopt;
    }
    // Each page's shown name and its bytes, read by search and by the listing's index alike.
    Pages ShownAndRead(const std::string& zip) {
        const ZipListing listing = ListZipPictures(zip);
        EXPECT_EQ(listing.status, ZipListing::Ok) << zip;
        Pages pages;
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
    const std::vector<ZipItem> items = {{"stored.jpg", PatternBytes(3000, 1), false},
                                        {"Vol1/", {}},
                                        {"deflated.jpg", Bytes(50000, 0x42)},
                                        {"Page.jpg", PatternBytes(64, 2)},
                                        {"page.jpg", PatternBytes(64, 3)},
                                        {"x.jpg/", {}},
                                        {longName + "1.jpg", PatternBytes(32, 4)},
                                        {longName + "2.jpg", PatternBytes(32, 5)},
                                        {"readme.txt", {3}},
                                        {"dir\\x.jpg", {5}},
                                        {"Vol1/A.JPG", PatternBytes(64, 6)}};
    const std::string zip = Write(items);
    const Names pages = {"stored.jpg",       "deflated.jpg",     "Page.jpg",   "page.jpg",
                         longName + "1.jpg", longName + "2.jpg", "dir\\x.jpg", "Vol1/A.JPG"};
    Pages read;
    for (const auto& item : items)
        if (std::ranges::find(pages, item.name) != pages.end())
            read[item.name] = item.data;
    EXPECT_EQ(ListZipPictures(zip).pages, pages);
    EXPECT_EQ(ListZipPictures(zip).index.fileSize, std::int64_t(std::filesystem::file_size(zip)));
    EXPECT_EQ(ShownAndRead(zip), read);
    EXPECT_EQ(Read(zip, "vol1/a.jpg"), items.back().data) << "another letter case finds it when none matches";
    // About 3000 records of ~70 bytes: the walk crosses several windows of the file, and
    // records straddle their edges.
    std::vector<ZipItem> many;
    for (unsigned i = 0; i < 3000; ++i)
        many.push_back({"chapter/page-" + std::string(i % 7, 'x') + std::to_string(i) + ".jpg",
                        PatternBytes(1 + i % 5, i), i % 2 == 0});
    const std::string big = Write(many, "big.zip");
    EXPECT_EQ(ListZipPictures(big).pages.size(), 3000u);
    for (const unsigned i : {0u, 1499u, 2999u})
        EXPECT_EQ(Read(big, many[i].name), many[i].data) << many[i].name;
}

// Damaged archives and entries, and bombs, are rows of the hostile-books table, read through
// the view.
TEST_F(ZipBooks, IndexOfAReplacedArchiveNeverReadsAnotherEntryAndWhatIsNoArchiveCannotBeListedOrRead) {
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
    ASSERT_TRUE(WriteFile(zip, PatternBytes(400, 2)));
    EXPECT_FALSE(Read(zip, "b.jpg", &listing.index));
    for (const std::string& path : {zip, Path("missing.zip"), m_dir.path().toStdString()}) {
        EXPECT_EQ(ListZipPictures(path).status, ZipListing::CannotOpen) << path;
        EXPECT_FALSE(Read(path, "1.jpg")) << path;
    }
}

TEST(MacResourceFiles, AreTheMacosxFolderAndDotUnderscoreNamesOnly) {
    for (const char* name : {"__MACOSX/b/1.jpg", "b/._2.jpg", "v\\._a.jpg", "v/__MACOSX/a.jpg", "._a.jpg"})
        EXPECT_TRUE(IsMacResourceEntry(name)) << name;
    for (const char* name : {"b/_2.jpg", "b/x._3.jpg", "__MACOSX.jpg", "v/.a.jpg", "__macosx_notes/a.jpg"})
        EXPECT_FALSE(IsMacResourceEntry(name)) << name;
}

const std::string kHangul = "\xED\x95\x9C\xEA\xB8\x80", kHangulCp949 = "\xC7\xD1\xB1\xDB"; // 한글
const std::string kBook = "\xEC\xB1\x85", kBookCp949 = "\xC3\xA5";                         // 책
const std::string kBad = "\xEF\xBF\xBD\xEF\xBF\xBD";                                       // two U+FFFD
const Bytes kP1 = PatternBytes(700, 1), kP2 = PatternBytes(900, 2);

using Maker = std::function<bool(const std::string& folder, const std::string& zip)>;

// A page in folder/deep, a second page at the top and a file that is no page, packed by a
// tool in the C locale, so that it stores the names' bytes as they are on disk.
Maker Packed(const std::string& folder, const std::string& file, std::vector<std::string> command) {
    command.insert(command.begin(), "LC_ALL=C");
    return [=](const std::string& in, const std::string& zip) {
        return PackWithTool(in, zip, "env", command,
                            {{folder + "/deep/" + file, kP1}, {"0.jpg", kP2}, {"x.txt", {}}});
    };
}

// The pages of a book that Packed() made, its folder shown as 한글.
Pages Deep(const std::string& page) {
    return {{kHangul + "/deep/" + page, kP1}, {"0.jpg", kP2}};
}

Maker Python(bool streamed, std::vector<PythonEntry> entries) {
    return [=](const std::string&, const std::string& zip) { return ZipWithPython(zip, entries, streamed); };
}

TEST_F(ZipBooks, ArchivesMadeByOtherToolsShowTheirNamesReadWholeAndLeaveOutMacResourceFiles) {
    const std::vector<std::string> pipe = {"bash", "-c", "zip -q - \"${@:2}\" | cat > \"$1\"", "-"};
    // Python's entries: name, data, UTF-8 flag, deflated.
    const std::tuple<const char*, Maker, Pages> rows[] = {
        {"infozip_cp949_unflagged_garbled", Packed(kHangulCp949, kBookCp949 + ".jpg", {"zip"}),
         Deep(kBook + ".jpg")},
        {"infozip_stored_utf8_unflagged_garbled", Packed(kHangul, kBook + ".jpg", {"zip", "-0"}),
         Deep(kBook + ".jpg")},
        {"infozip_data_descriptors_unread", Packed(kHangulCp949, "a.jpg", pipe), Deep("a.jpg")},
        {"sevenzip_utf8_unread", Packed(kHangul, kBook + ".JPG", {"7zz", "a", "-tzip"}),
         Deep(kBook + ".JPG")},
        {"flagged_utf8_garbled",
         Python(false, {{kHangul + "/1.jpg", kP1, true}, {kBook + ".gif", kP2, true, false}}),
         {{kHangul + "/1.jpg", kP1}, {kBook + ".gif", kP2}}},
        {"cp949_unflagged_garbled_when_streamed",
         Python(true, {{kHangulCp949 + "/" + kBookCp949 + ".jpg", kP1}, {"b/c/2.bmp", kP2, false, false}}),
         {{kHangul + "/" + kBook + ".jpg", kP1}, {"b/c/2.bmp", kP2}}},
        {"invalid_in_both_not_read",
         Python(false, {{"\xFF\xFE.jpg", kP1}, {"x/\xC0\xAF.jpg", kP2, true, false}}),
         {{kBad + ".jpg", kP1}, {"x/" + kBad + ".jpg", kP2}}},
        {"macos_resource_files_listed",
         Python(true, {{"b/1.jpg", kP1, true}, {"__MACOSX/b/2.jpg", kP2}, {"b/._3.jpg", kP2, false, false}}),
         {{"b/1.jpg", kP1}}}};
    for (int index = 0; const auto& [fault, make, shown] : rows) {
        const std::string made = std::to_string(index++), zip = Path(made + ".zip");
        ASSERT_TRUE(make(Path("in" + made), zip)) << fault << ": the tool failed or is missing";
        EXPECT_EQ(ShownAndRead(zip), shown) << fault;
    }
}

} // namespace
