// Which names are pages, how page names are ordered, and the folder helpers.
#include "sources/PageNames.h"

#include "ImageFixtures.h"

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <unistd.h>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(PictureNames, FiveExtensionsInAnyCaseAndNothingElse)
{
    const std::pair<const char*, bool> cases[] = {
        {"Scan.JPG", true}, {"a.Jpeg", true},  {"x.jpe", true},     {"c.gif", true},       {"y.BmP", true},
        {".jpg", true},     {"book.tar.gif", true}, {"b.png", false}, {"jpg", false},     {"a.jpg.txt", false},
        {"a.jp", false},    {"a.jpgx", false}, {"", false},         {"photo.jpeg ", false}, {"noext", false},
    };
    for (const auto& [name, picture] : cases)
        EXPECT_EQ(IsImageFileName(name), picture) << '"' << name << '"';
    EXPECT_TRUE(IsImageExt(".JPEG"));
    EXPECT_FALSE(IsImageExt("jpeg"));
    EXPECT_FALSE(IsImageExt(".jpeg.bak"));
}

TEST(PictureNames, ExtensionIsFromTheLastDotAndLowerCasingIsAsciiOnly)
{
    EXPECT_EQ(LowerExtension("Dir.X/Name"), ".x/name");
    EXPECT_EQ(LowerExtension("ABC"), "abc");
    EXPECT_EQ(LowerExtension("\xEC\x82\xAC\xEC\xA7\x84.JPG"), ".jpg");
    EXPECT_EQ(AsciiLower("\xC3\x84" "Bc" "\xEC\x82\xAC"), "\xC3\x84" "bc" "\xEC\x82\xAC");
}

TEST(PageOrder, BytewiseCaseBlindFolderFirstAndKeepsTheRealNames)
{
    const std::string korean = "\xEC\x82\xAC.jpg";
    const std::pair<Names, Names> cases[] = {
        {{"10.jpg", "2.jpg", "9.jpg"}, {"10.jpg", "2.jpg", "9.jpg"}}, // not numeric
        {{"a1.jpg", "a.jpg"}, {"a.jpg", "a1.jpg"}},
        {{"b/1.jpg", "a/2.jpg"}, {"a/2.jpg", "b/1.jpg"}},
        {{"Scan.JPG", "c.gif", "a.Jpeg"}, {"a.Jpeg", "c.gif", "Scan.JPG"}},
        {{"B.jpg", "a.jpg"}, {"a.jpg", "B.jpg"}},
        {{korean, "z.jpg"}, {"z.jpg", korean}}, // bytes compare unsigned
        {{"a.jpg", "a"}, {"a", "a.jpg"}},
    };
    for (auto [names, expected] : cases) {
        std::sort(names.begin(), names.end(), PageNameLess);
        EXPECT_EQ(names, expected);
    }
    // Names differing only in case still have a strict order.
    EXPECT_NE(PageNameLess("A.jpg", "a.jpg"), PageNameLess("a.jpg", "A.jpg"));
    EXPECT_FALSE(PageNameLess("a.jpg", "a.jpg"));
}

TEST(JoiningPaths, ExactlyOneSeparatorBetween)
{
    EXPECT_EQ(JoinPath("/books", "x.jpg"), "/books/x.jpg");
    EXPECT_EQ(JoinPath("/", "x.jpg"), "/x.jpg");
    EXPECT_EQ(JoinPath("/books/", "x.jpg"), "/books/x.jpg");
    EXPECT_EQ(JoinPath("/books", "/x.jpg"), "/books/x.jpg");
    EXPECT_EQ(JoinPath("/books", "/"), "/books/");
}

class FolderHelpers : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return JoinPath(m_dir.path().toStdString(), name); }
    QTemporaryDir m_dir;
};

TEST_F(FolderHelpers, FilesFoldersAndMissingPathsWithTheirLengths)
{
    ASSERT_TRUE(std::filesystem::create_directory(Path("sub.jpg")));
    ASSERT_TRUE(fixtures::WriteFile(Path("Scan.JPG"), std::vector<std::uint8_t>(10, 7)));
    ASSERT_TRUE(fixtures::WriteFile(Path("empty.bin"), {}));
    struct Case {
        const char* name;
        bool file, folder;
        std::int32_t length;
    };
    for (const Case c : {Case{"sub.jpg", false, true, -1}, Case{"Scan.JPG", true, false, 10},
                         Case{"empty.bin", true, false, 0}, Case{"missing.jpg", false, false, -1},
                         Case{"scan.jpg", false, false, -1}}) { // names are case-sensitive here
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsFile(Path(c.name)), c.file);
        EXPECT_EQ(IsDirectory(Path(c.name)), c.folder);
        EXPECT_EQ(GetFileLength(Path(c.name)), c.length);
    }
}

TEST_F(FolderHelpers, UnreadableFileHasNoLength)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    ASSERT_TRUE(fixtures::WriteFile(Path("locked.bin"), {1, 2}));
    std::filesystem::permissions(Path("locked.bin"), std::filesystem::perms::none);
    EXPECT_EQ(GetFileLength(Path("locked.bin")), -1);
}

TEST_F(FolderHelpers, LengthBeyondTwoGibibytesSaturatesInsteadOfWrapping)
{
    ASSERT_TRUE(fixtures::WriteFile(Path("huge.bin"), {}));
    // Sparse files: 3 GiB would read as negative if cast, 4 GiB + 10 as 10 if cut to 32 bits.
    for (const std::uint64_t size : {std::uint64_t{3} << 30, (std::uint64_t{1} << 32) + 10}) {
        std::error_code error;
        std::filesystem::resize_file(Path("huge.bin"), size, error);
        if (error)
            GTEST_SKIP() << "this file system cannot hold a sparse file of " << size << " bytes";
        EXPECT_EQ(GetFileLength(Path("huge.bin")), std::numeric_limits<std::int32_t>::max()) << size;
    }
}

} // namespace
