// RAR, 7z and tar books: listing by the picture rules, reading every page, and reaching
// pages again without decompressing the archive from its start.
#include "sources/ArchiveBook.h"
#include "ArchiveFixtures.h"
#include "BookFixtures.h"
#include "ImageFixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

using fixtures::Bytes;
using fixtures::PatternBytes;

struct BookKind {
    const char* name;
    const char* extension;
    bool solid;
    const char* program; // nullptr: our RAR 4 writer of stored entries
    std::vector<std::string> arguments;
};

const BookKind kKinds[] = {{"SolidSevenZip", ".cb7", true, "7zz", {"a", "-bd", "-ms=on"}},
                           {"NonSolidSevenZip", ".7z", true, "7zz", {"a", "-bd", "-ms=off"}},
                           {"PlainTarSkipsBySeeking", ".cbt", false, "bsdtar", {"-cf"}},
                           {"Tar", ".tar", false, "tar", {"-cf"}},
                           {"GzipTar", ".tar.gz", true, "bsdtar", {"-czf"}},
                           {"XzTar", ".tar.xz", true, "bsdtar", {"-cJf"}},
                           {"Bzip2Tar", ".tar.bz2", true, "bsdtar", {"-cjf"}},
                           {"StoredRar", ".cbr", false, nullptr, {}}};

class ArchiveBookTest : public ::testing::TestWithParam<BookKind> {};

TEST_P(ArchiveBookTest, ListsPicturesAtAnyDepthAndReadsThemInAnyOrderWithoutDecompressingFromTheStartAgain) {
    // Fourteen pages of every extension in three folders, a text file among them, a PNG and
    // two macOS resource files.
    std::vector<fixtures::BookItem> items;
    std::map<std::string, Bytes> pages;
    std::uint64_t allBytes = 1380; // the files that are no pages
    for (int i = 0; i < 14; ++i) {
        static const char* const kFolders[] = {"", "vol1/", "vol1/extra/"};
        static const char* const kExtensions[] = {".jpg", ".JPG", ".gif", ".bmp", ".jpeg", ".jpe"};
        const std::string name = kFolders[i % 3] + ("p" + std::to_string(10 + i)) + kExtensions[i % 6];
        if (i == 3)
            items.push_back({"notes.txt", PatternBytes(500, 99)});
        pages[name] = PatternBytes(std::size_t(30000 + 977 * i), unsigned(i + 1));
        items.push_back({name, pages[name]});
        allBytes += pages[name].size();
    }
    items.push_back({"vol1/cover.png", PatternBytes(700, 98)});
    // The resource files macOS adds beside pictures are no pages either.
    items.push_back({"vol1/._p11.JPG", PatternBytes(90, 97)});
    items.push_back({"__MACOSX/vol1/p12.gif", PatternBytes(90, 96)});
    const BookKind& kind = GetParam();
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/book" + kind.extension;
    ASSERT_TRUE(kind.program ? fixtures::PackWithTool(dir.path().toStdString() + "/files", path, kind.program,
                                                      kind.arguments, items)
                             : fixtures::WriteRar4(path, items));
    CArchiveBook book;
    ASSERT_EQ(book.Open(path), CArchiveBook::Ok);
    EXPECT_EQ(book.IsSolid(), kind.solid);
    std::vector<std::string> names = book.Pages();
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), pages.size());
    // Every page in name order, then turning back a page and jumping ten pages forward and back.
    std::vector<std::string> order = names;
    order.insert(order.end(), {names[names.size() - 2], names[1], names[11], names[0]});
    std::uint64_t pageBytes = 0;
    int restartsAfterFirstPass = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i == names.size())
            restartsAfterFirstPass = book.Restarts();
        Bytes bytes;
        ASSERT_TRUE(book.ReadPage(order[i], bytes)) << order[i];
        EXPECT_EQ(bytes, pages.at(order[i])) << order[i];
        pageBytes += bytes.size();
    }
    if (kind.solid) { // what one pass decompressed is kept: no second pass over the archive
        EXPECT_EQ(book.Restarts(), 1);
        EXPECT_LE(book.DecompressedBytes(), allBytes);
    } else { // each page costs its own bytes only: what stands before it is skipped
        EXPECT_GE(book.Restarts(), restartsAfterFirstPass);
        EXPECT_EQ(book.DecompressedBytes(), pageBytes);
    }
    Bytes bytes{1, 2, 3};
    EXPECT_FALSE(book.ReadPage("absent.jpg", bytes) || !bytes.empty());
    ASSERT_EQ(book.Open(path), CArchiveBook::Ok);
    EXPECT_EQ(book.Restarts(), 0) << "a reopened book starts clean";
    EXPECT_TRUE(book.ReadPage(book.Pages().back(), bytes) && bytes == pages.at(book.Pages().back()));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ArchiveBookTest, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveBookNames, TarBytesReadAsUtf8ElseCp949EveryEntryStaysFindableAnd7ZipNamesKeepTheirText) {
    QTemporaryDir dir;
    const std::string tar = dir.filePath("n.tar").toStdString(),
                      sevenZip = dir.filePath("n.7z").toStdString();
    const std::string utf8 = "만화2.jpg";
    ASSERT_TRUE(fixtures::WriteFile(tar, fixtures::TarBytes({{"\xB8\xB8\xC8\xAD.jpg", PatternBytes(100, 1)},
                                                             {utf8, PatternBytes(100, 2)},
                                                             {utf8, PatternBytes(100, 3)}})));
    CArchiveBook book;
    ASSERT_EQ(book.Open(tar), CArchiveBook::Ok);
    ASSERT_EQ(book.Pages().size(), 3u);
    EXPECT_EQ(book.Pages()[0], "만화.jpg") << "CP949 bytes";
    EXPECT_EQ(book.Pages()[1], utf8);
    EXPECT_NE(book.Pages()[2], utf8) << "a repeated name stays a page of its own";
    for (unsigned i = 0; i < 3; ++i) {
        Bytes bytes;
        EXPECT_TRUE(book.ReadPage(book.Pages()[i], bytes) && bytes == PatternBytes(100, i + 1)) << i;
    }
    ASSERT_TRUE(fixtures::PackWithTool(dir.path().toStdString() + "/f", sevenZip, "7zz", {"a", "-bd"},
                                       {{"원피스 01화.jpg", PatternBytes(100, 4)}}));
    ASSERT_EQ(book.Open(sevenZip), CArchiveBook::Ok);
    EXPECT_EQ(book.Pages(), std::vector<std::string>{"원피스 01화.jpg"});
}

TEST(PageStore, BeyondTheMemoryBudgetPagesGoToAnUnnamedPrivateFile) {
    CPageStore store(50000);
    for (int key = 0; key < 10; ++key)
        store.Put(key, PatternBytes(20000, unsigned(key)).data(), 20000);
    EXPECT_LE(store.MemoryBytes(), 50000u);
    EXPECT_EQ(store.FileBytes(), 8 * 20000);
    Bytes bytes;
    for (int key = 9; key >= 0; --key)
        EXPECT_TRUE(store.Get(key, bytes) && bytes == PatternBytes(20000, unsigned(key))) << key;
    EXPECT_FALSE(store.Get(10, bytes));
    const QDir folder(QString::fromStdString(PrivateSpillFolder()));
    EXPECT_TRUE(folder.exists() && folder.entryList({"pages-*"}, QDir::Files).isEmpty());
}

} // namespace
