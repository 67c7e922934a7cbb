// RAR, 7z and tar books: listing by the picture rules, reading every page, and reaching
// pages again without decompressing the archive from its start.
#include "ArchiveFixtures.h"
#include "BookFixtures.h"
#include "ImageFixtures.h"
#include "sources/ArchiveBook.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using fixtures::BookItem;

namespace {

struct BookKind {
    const char* name;
    const char* extension;
    bool solid;
    std::function<bool(const std::string& folder, const std::string& path, const std::vector<BookItem>&)> make;
};

std::function<bool(const std::string&, const std::string&, const std::vector<BookItem>&)> Tool(
    const char* program, std::vector<std::string> arguments)
{
    return [=](const std::string& folder, const std::string& path, const std::vector<BookItem>& items) {
        return fixtures::PackWithTool(folder, path, program, arguments, items);
    };
}

std::function<bool(const std::string&, const std::string&, const std::vector<BookItem>&)> Rar()
{
    return [](const std::string&, const std::string& path, const std::vector<BookItem>& items) {
        return fixtures::WriteRar4(path, items);
    };
}

const BookKind kKinds[] = {
    {"SolidSevenZip", ".cb7", true, Tool("7zz", {"a", "-bd", "-ms=on"})},
    {"NonSolidSevenZip", ".7z", true, Tool("7zz", {"a", "-bd", "-ms=off"})},
    {"PlainTarSkipsBySeeking", ".cbt", false, Tool("bsdtar", {"-cf"})},
    {"Tar", ".tar", false, Tool("tar", {"-cf"})},
    {"GzipTar", ".tar.gz", true, Tool("bsdtar", {"-czf"})},
    {"Tgz", ".tgz", true, Tool("tar", {"-czf"})},
    {"XzTar", ".tar.xz", true, Tool("bsdtar", {"-cJf"})},
    {"Bzip2Tar", ".tar.bz2", true, Tool("bsdtar", {"-cjf"})},
    {"StoredRar", ".cbr", false, Rar()},
    {"StoredRarByItsOtherName", ".rar", false, Rar()},
};

constexpr int kPageCount = 14;

std::vector<BookItem> BookItems()
{
    std::vector<BookItem> items;
    for (int i = 0; i < kPageCount; ++i) {
        static const char* const kExtensions[] = {".jpg", ".JPG", ".gif", ".bmp", ".jpeg", ".jpe"};
        const std::string folder = i % 3 == 0 ? "" : i % 3 == 1 ? "vol1/" : "vol1/extra/";
        items.push_back({folder + "p" + std::to_string(10 + i) + kExtensions[i % 6],
                         fixtures::PatternBytes(std::size_t(30000 + 977 * i), unsigned(i + 1))});
    }
    items.insert(items.begin() + 3, BookItem{"notes.txt", fixtures::PatternBytes(500, 99)});
    items.push_back({"vol1/cover.png", fixtures::PatternBytes(700, 98)});
    return items;
}

class ArchiveBookTest : public ::testing::TestWithParam<BookKind> {
protected:
    void SetUp() override
    {
        m_items = BookItems();
        const std::string folder = m_dir.path().toStdString() + "/files";
        m_path = m_dir.path().toStdString() + "/book" + GetParam().extension;
        ASSERT_TRUE(GetParam().make(folder, m_path, m_items));
        ASSERT_EQ(m_book.Open(m_path), CArchiveBook::Ok);
    }
    const BookItem& Item(const std::string& page) const
    {
        return *std::find_if(m_items.begin(), m_items.end(), [&](const BookItem& item) { return item.name == page; });
    }
    void ExpectPage(const std::string& page)
    {
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(m_book.ReadPage(page, bytes)) << page;
        EXPECT_EQ(bytes, Item(page).data) << page;
    }

    QTemporaryDir m_dir;
    std::vector<BookItem> m_items;
    std::string m_path;
    CArchiveBook m_book;
};

TEST_P(ArchiveBookTest, ListsOnlyPicturesAtAnyDepth)
{
    std::vector<std::string> expected;
    for (const BookItem& item : m_items)
        if (item.name.find(".txt") == std::string::npos && item.name.find(".png") == std::string::npos)
            expected.push_back(item.name);
    std::vector<std::string> pages = m_book.Pages();
    std::sort(pages.begin(), pages.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(pages, expected);
    EXPECT_EQ(m_book.IsSolid(), GetParam().solid);
}

TEST_P(ArchiveBookTest, EveryPageReadsInAnyOrderWithoutDecompressingFromTheStartAgain)
{
    std::vector<std::string> pages = m_book.Pages();
    std::sort(pages.begin(), pages.end());
    for (const std::string& page : pages)
        ExpectPage(page);
    const int restartsAfterFirstPass = m_book.Restarts();
    // Turning back a page, then jumping ten pages forward and back.
    ExpectPage(pages[pages.size() - 2]);
    ExpectPage(pages[1]);
    ExpectPage(pages[11]);
    ExpectPage(pages[0]);
    std::uint64_t pageBytes = 0;
    for (const BookItem& item : m_items)
        pageBytes += item.data.size();
    if (GetParam().solid) {
        // What one pass decompressed is kept: no second pass over the archive.
        EXPECT_EQ(m_book.Restarts(), 1);
        EXPECT_LE(m_book.DecompressedBytes(), pageBytes);
    } else {
        // Each page costs its own bytes only: what stands before it is skipped.
        EXPECT_GE(m_book.Restarts(), restartsAfterFirstPass);
        std::uint64_t read = 0;
        for (const std::string& page : pages)
            read += Item(page).data.size();
        for (const std::string& page : {pages[pages.size() - 2], pages[1], pages[11], pages[0]})
            read += Item(page).data.size();
        EXPECT_EQ(m_book.DecompressedBytes(), read);
    }
}

TEST_P(ArchiveBookTest, UnknownPageAndReopenedBookStartClean)
{
    std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_FALSE(m_book.ReadPage("absent.jpg", bytes));
    EXPECT_TRUE(bytes.empty());
    ASSERT_EQ(m_book.Open(m_path), CArchiveBook::Ok);
    EXPECT_EQ(m_book.Restarts(), 0);
    ExpectPage(m_book.Pages().back());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ArchiveBookTest, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveBookNames, TarBytesReadAsUtf8ElseCp949AndEveryEntryStaysFindable)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/names.tar";
    const std::string cp949 = "\xB8\xB8\xC8\xAD.jpg"; // 만화.jpg in CP949
    const std::string utf8 = "만화2.jpg";
    ASSERT_TRUE(fixtures::WriteFile(path, fixtures::TarBytes({{cp949, fixtures::PatternBytes(100, 1)},
                                                              {utf8, fixtures::PatternBytes(100, 2)},
                                                              {utf8, fixtures::PatternBytes(100, 3)}})));
    CArchiveBook book;
    ASSERT_EQ(book.Open(path), CArchiveBook::Ok);
    ASSERT_EQ(book.Pages().size(), 3u);
    EXPECT_EQ(book.Pages()[0], "만화.jpg");
    EXPECT_EQ(book.Pages()[1], utf8);
    EXPECT_NE(book.Pages()[2], utf8); // a repeated name stays a page of its own
    for (unsigned i = 0; i < 3; ++i) {
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(book.ReadPage(book.Pages()[i], bytes));
        EXPECT_EQ(bytes, fixtures::PatternBytes(100, i + 1));
    }
}

TEST(ArchiveBookNames, SevenZipUnicodeNamesKeepTheirText)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/names.7z";
    ASSERT_TRUE(fixtures::PackWithTool(dir.path().toStdString() + "/f", path, "7zz", {"a", "-bd"},
                                       {{"원피스 01화.jpg", fixtures::PatternBytes(100, 4)}}));
    CArchiveBook book;
    ASSERT_EQ(book.Open(path), CArchiveBook::Ok);
    EXPECT_EQ(book.Pages(), std::vector<std::string>{"원피스 01화.jpg"});
}

TEST(PageStore, BeyondTheMemoryBudgetPagesGoToAnUnnamedPrivateFile)
{
    CPageStore store(50000);
    for (int key = 0; key < 10; ++key) {
        const auto bytes = fixtures::PatternBytes(20000, unsigned(key));
        store.Put(key, bytes.data(), bytes.size());
    }
    EXPECT_LE(store.MemoryBytes(), 50000u);
    EXPECT_EQ(store.FileBytes(), 8 * 20000);
    for (int key = 9; key >= 0; --key) {
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(store.Get(key, bytes));
        EXPECT_EQ(bytes, fixtures::PatternBytes(20000, unsigned(key)));
    }
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(store.Get(10, bytes));
    const QDir folder(QString::fromStdString(PrivateSpillFolder()));
    EXPECT_TRUE(folder.exists());
    EXPECT_TRUE(folder.entryList({"pages-*"}, QDir::Files).isEmpty());
}

} // namespace
