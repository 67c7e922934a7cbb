// The four store routines: defaults, fall-backs and the path value's exact contents.
#include "settings/RegStore.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <unistd.h>

using namespace storetest;

namespace {

class RegStore : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override { ClearStore(); }
};

TEST_F(RegStore, MissingValueGivesDefaultAndFalse)
{
    std::int32_t out = -5;
    EXPECT_FALSE(GetRegDword(kTavimoKey, "bSharpen", out, 7));
    EXPECT_EQ(out, 7);
}

TEST_F(RegStore, DwordRoundTripsIncludingZeroAndNegative)
{
    for (const std::int32_t value : {0, 1, -1, 123456, INT32_MIN, INT32_MAX}) {
        ASSERT_TRUE(SetRegDword(kTavimoKey, "bRotate", value)) << value;
        std::int32_t out = 99;
        EXPECT_TRUE(GetRegDword(kTavimoKey, "bRotate", out, 99)) << value;
        EXPECT_EQ(out, value);
    }
}

TEST_F(RegStore, TextThatIsNotANumberFallsBackToDefault)
{
    OpenTavimoStore()->setValue("bStretech", "yes");
    std::int32_t out = 0;
    EXPECT_FALSE(GetRegDword(kTavimoKey, "bStretech", out, 1));
    EXPECT_EQ(out, 1);
}

TEST_F(RegStore, NumberWiderThan32BitsFallsBackToDefault)
{
    OpenTavimoStore()->setValue("bFlipPage", "8589934592"); // 2^33
    std::int32_t out = 3;
    EXPECT_FALSE(GetRegDword(kTavimoKey, "bFlipPage", out, 0));
    EXPECT_EQ(out, 0);
}

TEST_F(RegStore, UnsignedDwordWrapsLikeTheRegistry)
{
    OpenTavimoStore()->setValue("bFlipPage", "4294967295");
    std::int32_t out = 0;
    EXPECT_TRUE(GetRegDword(kTavimoKey, "bFlipPage", out, 0));
    EXPECT_EQ(out, -1);
}

TEST_F(RegStore, BinaryDataOfOtherSizeFallsBackToDefault)
{
    OpenTavimoStore()->setValue("bView2Page", QByteArray("\x01\x00\x00\x00\x00\x00\x00\x00", 8));
    std::int32_t out = 0;
    EXPECT_FALSE(GetRegDword(kTavimoKey, "bView2Page", out, 0));
    EXPECT_EQ(out, 0);
}

TEST_F(RegStore, PathRoundTripsExactlyWithoutTerminator)
{
    const std::string path = "/home/reader/만화/한국 책";
    ASSERT_TRUE(SetRegString(kTavimoKey, "sRecentFolder", path));
    const QString stored = OpenTavimoStore()->value("sRecentFolder").toString();
    EXPECT_EQ(stored.toStdString(), path);
    EXPECT_FALSE(stored.contains(QChar(0)));
    std::string out;
    EXPECT_TRUE(GetRegString(kTavimoKey, "sRecentFolder", out));
    EXPECT_EQ(out, path);
}

TEST_F(RegStore, PathWrittenWithTrailingNulReadsAsSamePath)
{
    OpenTavimoStore()->setValue("sRecentFolder", QString::fromUtf8("C:/books/a\0", 11));
    std::string out;
    EXPECT_TRUE(GetRegString(kTavimoKey, "sRecentFolder", out));
    EXPECT_EQ(out, "C:/books/a");
}

TEST_F(RegStore, BinaryPathWithTrailingNulReadsAsSamePath)
{
    OpenTavimoStore()->setValue("sRecentFolder", QByteArray("/srv/books\0", 11));
    std::string out;
    EXPECT_TRUE(GetRegString(kTavimoKey, "sRecentFolder", out));
    EXPECT_EQ(out, "/srv/books");
}

TEST_F(RegStore, EmptyPathIsStoredAndLeavesOutputUnchanged)
{
    ASSERT_TRUE(SetRegString(kTavimoKey, "sRecentFolder", ""));
    EXPECT_TRUE(OpenTavimoStore()->contains("sRecentFolder"));
    std::string out = "kept";
    EXPECT_FALSE(GetRegString(kTavimoKey, "sRecentFolder", out));
    EXPECT_EQ(out, "kept");
}

TEST_F(RegStore, MissingPathLeavesOutputUnchanged)
{
    std::string out = "kept";
    EXPECT_FALSE(GetRegString(kTavimoKey, "sRecentFolder", out));
    EXPECT_EQ(out, "kept");
}

TEST_F(RegStore, KeyPathWithoutAnyKeyIsRefused)
{
    std::int32_t out = 0;
    EXPECT_FALSE(GetRegDword("SOFTWARE\\", "bRotate", out, 4));
    EXPECT_EQ(out, 4);
    EXPECT_FALSE(SetRegDword("", "bRotate", 1));
    EXPECT_FALSE(SetRegString("\\\\", "sRecentFolder", "x"));
}

TEST_F(RegStore, GarbageFileGivesDefaultsWithoutCrash)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) & 0xFF));
    garbage.append("\n[General\nbRotate=\x01\xFF\nbSharpen==\n[[[\n");
    WriteStoreFile(garbage);
    std::int32_t out = 0;
    GetRegDword(kTavimoKey, "bSharpen", out, 0);
    EXPECT_EQ(out, 0);
    GetRegDword(kTavimoKey, "bRotate", out, 0);
    EXPECT_EQ(out, 0);
    std::string path;
    GetRegString(kTavimoKey, "sRecentFolder", path);
    EXPECT_TRUE(path.empty());
}

TEST_F(RegStore, WriteOverGarbageFileSucceedsAndReadsBack)
{
    WriteStoreFile(QByteArray("\xFF\xFE\x00[\x01\x02 = = =\n[General]]\nbStretech\n=\n", 36));
    EXPECT_TRUE(SetRegDword(kTavimoKey, "bRotate", 1));
    EXPECT_TRUE(SetRegString(kTavimoKey, "sRecentFolder", "/after/garbage"));
    std::int32_t out = 0;
    EXPECT_TRUE(GetRegDword(kTavimoKey, "bRotate", out, 0));
    EXPECT_EQ(out, 1);
    std::string path;
    EXPECT_TRUE(GetRegString(kTavimoKey, "sRecentFolder", path));
    EXPECT_EQ(path, "/after/garbage");
}

TEST_F(RegStore, UnreadableFileGivesDefaults)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
    ASSERT_TRUE(SetRegDword(kTavimoKey, "bInterpolation", 0));
    ASSERT_TRUE(QFile::setPermissions(StoreFilePath(), QFileDevice::Permissions()));
    std::int32_t out = 0;
    EXPECT_FALSE(GetRegDword(kTavimoKey, "bInterpolation", out, 1));
    EXPECT_EQ(out, 1);
}

} // namespace
