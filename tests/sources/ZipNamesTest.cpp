// ZIP archives as other tools write them: names in CP949 or UTF-8, flagged or not, data
// descriptors, stored and deflated entries, nested folders, macOS resource files. Each
// is made by the real tool at test time and must list and read every page whole.
#include "sources/ZipSource.h"

#include "ImageFixtures.h"
#include "ToolArchives.h"
#include "sources/NameEncoding.h"
#include "sources/PageNames.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

using Bytes = std::vector<std::uint8_t>;
using fixtures::FolderZipper;
using fixtures::NamedFile;
using fixtures::PythonEntry;

const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80"; // 한글
const std::string kHangulCp949 = "\xC7\xD1\xB1\xDB";        // 한글
const std::string kBookUtf8 = "\xEC\xB1\x85";               // 책
const std::string kBookCp949 = "\xC3\xA5";                  // 책
const std::string kReplacement = "\xEF\xBF\xBD";

Bytes Page(int number) {
    return fixtures::EncodeJpeg(fixtures::NumberedPage(40, 60, number));
}

// What a listing shows and reads: each page's shown name and its bytes, keyed by the name.
std::map<std::string, Bytes> ShownAndRead(const std::string& zip) {
    const ZipListing listing = ListZipPictures(zip);
    EXPECT_EQ(listing.status, ZipListing::Ok) << zip;
    std::map<std::string, Bytes> pages;
    for (const std::string& page : listing.pages) {
        Bytes bytes;
        EXPECT_TRUE(ReadZipEntry(zip, page, bytes, &listing.index)) << page;
        Bytes searched;
        EXPECT_TRUE(ReadZipEntry(zip, page, searched)) << page;
        EXPECT_EQ(bytes, searched) << page;
        pages[DisplayNameFromBytes(page, listing.utf8FlaggedPages.contains(page))] = bytes;
    }
    return pages;
}

class ToolMadeZips : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return JoinPath(m_dir.path().toStdString(), name); }
    QTemporaryDir m_dir;
};

struct FolderRow {
    const char* fault;
    FolderZipper zipper;
    std::string folderName, fileName; // as bytes on disk
    std::string shownFolder, shownFile;
};

TEST_F(ToolMadeZips, FoldersPackedByZipAnd7ZipShowTheirNamesAndReadWhole) {
    const FolderRow rows[] = {
        {"infozip_cp949_unflagged_garbled", FolderZipper::InfoZip, kHangulCp949, kBookCp949 + "01.jpg",
         kHangulUtf8, kBookUtf8 + "01.jpg"},
        {"infozip_stored_utf8_unflagged_garbled", FolderZipper::InfoZipStored, kHangulUtf8,
         kBookUtf8 + "01.jpg", kHangulUtf8, kBookUtf8 + "01.jpg"},
        {"infozip_data_descriptors_unread", FolderZipper::InfoZipToPipe, kHangulCp949, "a.jpg", kHangulUtf8,
         "a.jpg"},
        {"sevenzip_utf8_unread", FolderZipper::SevenZip, kHangulUtf8, kBookUtf8 + ".JPG", kHangulUtf8,
         kBookUtf8 + ".JPG"},
    };
    int row = 0;
    for (const FolderRow& r : rows) {
        const std::string folder = Path("in" + std::to_string(row));
        const std::string zip = Path("out" + std::to_string(row++) + ".zip");
        // A nested folder, a second page at the top, and a file that is no page.
        ASSERT_TRUE(fixtures::WriteFilesByByteName(
            folder,
            {{r.folderName + "/deep/" + r.fileName, Page(1)}, {"0.jpg", Page(2)}, {"notes.txt", {'x'}}}))
            << r.fault;
        ASSERT_TRUE(fixtures::ZipFolder(r.zipper, folder, zip))
            << r.fault << ": the tool failed or is missing";
        const std::map<std::string, Bytes> expected = {{r.shownFolder + "/deep/" + r.shownFile, Page(1)},
                                                       {"0.jpg", Page(2)}};
        EXPECT_EQ(ShownAndRead(zip), expected) << r.fault;
    }
}

struct PythonRow {
    const char* fault;
    bool streamed;
    std::vector<PythonEntry> entries;
    std::vector<std::string> shown; // the pages, in the order they were written
};

TEST_F(ToolMadeZips, PythonZipfileArchivesShowTheirNamesAndReadWhole) {
    const Bytes p1 = Page(1), p2 = Page(2), p3 = Page(3);
    const PythonRow rows[] = {
        {"flagged_utf8_garbled",
         false,
         {{kHangulUtf8 + "/1.jpg", p1, true, true}, {kBookUtf8 + ".gif", p2, true, false}},
         {kHangulUtf8 + "/1.jpg", kBookUtf8 + ".gif"}},
        {"cp949_unflagged_garbled_when_streamed",
         true,
         {{kHangulCp949 + "/" + kBookCp949 + ".jpg", p1, false, true}, {"b/c/2.bmp", p2, false, false}},
         {kHangulUtf8 + "/" + kBookUtf8 + ".jpg", "b/c/2.bmp"}},
        {"utf8_unflagged_taken_for_cp949",
         true,
         {{kBookUtf8 + ".jpg", p1, false, true}},
         {kBookUtf8 + ".jpg"}},
        {"invalid_in_both_not_read",
         false,
         {{"\xFF\xFE"
           ".jpg",
           p1, false, true},
          {"\xC0\xAF"
           ".jpg",
           p2, true, false}},
         {kReplacement + kReplacement + ".jpg", kReplacement + kReplacement + ".jpg"}},
        {"macos_resource_files_listed",
         true,
         {{"book/1.jpg", p1, true, true},
          {"__MACOSX/book/._1.jpg", {0, 5, 22, 7}, true, true},
          {"book/._2.jpg", {0, 5, 22, 7}, true, false},
          {"book/_2.jpg", p2, true, false},
          {"book/x._3.jpg", p3, true, false}},
         {"book/1.jpg", "book/_2.jpg", "book/x._3.jpg"}},
    };
    int row = 0;
    for (const PythonRow& r : rows) {
        const std::string zip = Path("py" + std::to_string(row++) + ".zip");
        ASSERT_TRUE(fixtures::ZipWithPython(zip, r.entries, r.streamed))
            << r.fault << ": python3 failed or is missing";
        const ZipListing listing = ListZipPictures(zip);
        std::vector<std::string> shown;
        for (const std::string& page : listing.pages) {
            shown.push_back(DisplayNameFromBytes(page, listing.utf8FlaggedPages.contains(page)));
            Bytes bytes;
            EXPECT_TRUE(ReadZipEntry(zip, page, bytes, &listing.index)) << r.fault << ' ' << shown.back();
            const auto written = std::find_if(r.entries.begin(), r.entries.end(),
                                              [&](const PythonEntry& entry) { return entry.name == page; });
            ASSERT_NE(written, r.entries.end()) << r.fault;
            EXPECT_EQ(bytes, written->data) << r.fault << ' ' << shown.back();
        }
        EXPECT_EQ(shown, r.shown) << r.fault;
    }
}

TEST(MacResourceEntries, OnlyTheFilesMacOsAddsAreLeftOut) {
    const std::pair<const char*, bool> rows[] = {
        {"__MACOSX/a.jpg", true},
        {"__MACOSX/x/._a.jpg", true},
        {"._a.jpg", true},
        {"vol\\._a.jpg", true},
        {"vol/__MACOSX/a.jpg", true},
        {"a._b.jpg", false},
        {"__MACOSX.jpg", false},
        {"_a.jpg", false},
        {"vol/.a.jpg", false},
        {"__macosx_notes/a.jpg", false},
    };
    for (const auto& [name, left] : rows)
        EXPECT_EQ(IsMacResourceEntry(name), left) << name;
}

} // namespace
