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

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end(), PageNameLess);
    return names;
}

class FolderHelpers : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return JoinPath(m_dir.path().toStdString(), name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST(PictureNames, AcceptsTheFiveExtensionsInAnyLetterCase)
{
    for (const char* name : {"Scan.JPG", "a.Jpeg", "x.jpe", "c.gif", "y.BmP", "book.tar.gif"})
        EXPECT_TRUE(IsImageFileName(name)) << name;
}

TEST(PictureNames, RejectsOtherExtensionsAndLookalikes)
{
    for (const char* name : {"b.png", "jpg", "a.jpg.txt", "a.jp", "a.jpgx", "", "photo.jpeg ", "noext"})
        EXPECT_FALSE(IsImageFileName(name)) << name;
}

TEST(PictureNames, NameThatIsOnlyTheExtensionIsAPicture)
{
    EXPECT_TRUE(IsImageFileName(".jpg"));
    EXPECT_TRUE(IsImageFileName(".GIF"));
}

TEST(PictureNames, ExtensionTestNeedsTheLeadingDot)
{
    EXPECT_TRUE(IsImageExt(".JPEG"));
    EXPECT_FALSE(IsImageExt("jpeg"));
    EXPECT_FALSE(IsImageExt(".jpeg.bak"));
}

TEST(PictureNames, ExtensionIsTakenFromTheLastDotOfTheWholePath)
{
    EXPECT_EQ(LowerExtension("Dir.X/Name"), ".x/name");
    EXPECT_EQ(LowerExtension("ABC"), "abc");
    EXPECT_EQ(LowerExtension("\xEC\x82\xAC\xEC\xA7\x84.JPG"), ".jpg");
}

TEST(PictureNames, LowerCasingLeavesNonAsciiBytesAlone)
{
    const std::string mixed = "\xC3\x84" "Bc" "\xEC\x82\xAC";
    EXPECT_EQ(AsciiLower(mixed), "\xC3\x84" "bc" "\xEC\x82\xAC");
}

TEST(PageOrder, ComparesBytesNotNumbers)
{
    EXPECT_EQ(Sorted({"10.jpg", "2.jpg", "9.jpg"}), (std::vector<std::string>{"10.jpg", "2.jpg", "9.jpg"}));
    EXPECT_EQ(Sorted({"a1.jpg", "a.jpg"}), (std::vector<std::string>{"a.jpg", "a1.jpg"}));
}

TEST(PageOrder, FolderPartDecidesFirst)
{
    EXPECT_EQ(Sorted({"b/1.jpg", "a/2.jpg"}), (std::vector<std::string>{"a/2.jpg", "b/1.jpg"}));
}

TEST(PageOrder, IgnoresLetterCaseButKeepsTheRealNames)
{
    EXPECT_EQ(Sorted({"Scan.JPG", "c.gif", "a.Jpeg"}), (std::vector<std::string>{"a.Jpeg", "c.gif", "Scan.JPG"}));
    EXPECT_EQ(Sorted({"B.jpg", "a.jpg"}), (std::vector<std::string>{"a.jpg", "B.jpg"}));
}

TEST(PageOrder, ComparesBytesAsUnsigned)
{
    const std::string korean = "\xEC\x82\xAC.jpg";
    EXPECT_EQ(Sorted({korean, "z.jpg"}), (std::vector<std::string>{"z.jpg", korean}));
}

TEST(PageOrder, PrefixSortsFirst)
{
    EXPECT_TRUE(PageNameLess("a", "a.jpg"));
    EXPECT_FALSE(PageNameLess("a.jpg", "a"));
}

TEST(PageOrder, NamesDifferingOnlyInCaseHaveAFixedOrder)
{
    EXPECT_NE(PageNameLess("A.jpg", "a.jpg"), PageNameLess("a.jpg", "A.jpg"));
    EXPECT_FALSE(PageNameLess("a.jpg", "a.jpg"));
}

TEST(JoiningPaths, AddsOneSeparatorBetween)
{
    EXPECT_EQ(JoinPath("/books", "x.jpg"), "/books/x.jpg");
}

TEST(JoiningPaths, FolderEndingInSeparatorIsNotDoubled)
{
    EXPECT_EQ(JoinPath("/", "x.jpg"), "/x.jpg");
    EXPECT_EQ(JoinPath("/books/", "x.jpg"), "/books/x.jpg");
}

TEST(JoiningPaths, DropsOneLeadingSeparatorOfTheName)
{
    EXPECT_EQ(JoinPath("/books", "/x.jpg"), "/books/x.jpg");
    EXPECT_EQ(JoinPath("/books", "/"), "/books/");
}

TEST_F(FolderHelpers, FolderNamedLikeAPictureIsNotAFile)
{
    ASSERT_TRUE(std::filesystem::create_directory(Path("sub.jpg")));
    EXPECT_FALSE(IsFile(Path("sub.jpg")));
    EXPECT_TRUE(IsDirectory(Path("sub.jpg")));
}

TEST_F(FolderHelpers, PlainFileIsAFileAndNotAFolder)
{
    ASSERT_TRUE(fixtures::WriteFile(Path("Scan.JPG"), {1, 2, 3}));
    EXPECT_TRUE(IsFile(Path("Scan.JPG")));
    EXPECT_FALSE(IsDirectory(Path("Scan.JPG")));
}

TEST_F(FolderHelpers, MissingPathIsNeitherFileNorFolder)
{
    EXPECT_FALSE(IsFile(Path("missing.jpg")));
    EXPECT_FALSE(IsDirectory(Path("missing")));
}

TEST_F(FolderHelpers, RealLetterCaseOfTheNameIsNeededOnThisFileSystem)
{
    ASSERT_TRUE(fixtures::WriteFile(Path("Scan.JPG"), {1}));
    EXPECT_TRUE(IsFile(Path("Scan.JPG")));
    EXPECT_FALSE(IsFile(Path("scan.jpg")));
}

TEST_F(FolderHelpers, LengthOfFilesFoldersAndMissingPaths)
{
    ASSERT_TRUE(fixtures::WriteFile(Path("ten.bin"), std::vector<std::uint8_t>(10, 7)));
    ASSERT_TRUE(fixtures::WriteFile(Path("empty.bin"), {}));
    EXPECT_EQ(GetFileLength(Path("ten.bin")), 10);
    EXPECT_EQ(GetFileLength(Path("empty.bin")), 0);
    EXPECT_EQ(GetFileLength(Path("missing.bin")), -1);
    EXPECT_EQ(GetFileLength(m_dir.path().toStdString()), -1);
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
    // Sparse files: no data blocks are written. 3 GiB would read as negative if cast,
    // 4 GiB + 10 as 10 if only the low 32 bits were kept.
    for (const std::uint64_t size : {std::uint64_t{3} << 30, (std::uint64_t{1} << 32) + 10}) {
        std::error_code error;
        std::filesystem::resize_file(Path("huge.bin"), size, error);
        if (error)
            GTEST_SKIP() << "this file system cannot hold a sparse file of " << size << " bytes";
        EXPECT_EQ(GetFileLength(Path("huge.bin")), std::numeric_limits<std::int32_t>::max()) << size;
    }
}
