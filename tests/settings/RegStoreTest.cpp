// The four store routines: defaults, fall-backs and the path value's exact contents.
#include "settings/RegStore.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QVariant>
#include <unistd.h>

using namespace storetest;

namespace {

class RegStore : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override { ClearStore(); }
};

TEST_F(RegStore, NumbersRoundTripWhole)
{
    for (const std::int32_t value : {0, 1, -1, 123456, INT32_MIN, INT32_MAX}) {
        ASSERT_TRUE(SetRegDword(kTavimoKey, "bRotate", value)) << value;
        std::int32_t out = 99;
        EXPECT_TRUE(GetRegDword(kTavimoKey, "bRotate", out, 99)) << value;
        EXPECT_EQ(out, value);
    }
}

TEST_F(RegStore, PlantedNumbersReadAsTheRegistryWouldOrFallBackToTheDefault)
{
    struct Case {
        const char* what;
        QVariant planted; // invalid: no value at all
        bool found;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"missing", QVariant(), false, 7},
        {"text", QVariant("yes"), false, 7},
        {"wider than 32 bits", QVariant("8589934592"), false, 7},
        {"unsigned wraps", QVariant("4294967295"), true, -1},
        {"binary of 8 bytes", QVariant(QByteArray("\x01\x00\x00\x00\x00\x00\x00\x00", 8)), false, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearStore();
        if (c.planted.isValid())
            OpenTavimoStore()->setValue("bFlipPage", c.planted);
        std::int32_t out = -5;
        EXPECT_EQ(GetRegDword(kTavimoKey, "bFlipPage", out, 7), c.found);
        EXPECT_EQ(out, c.expected);
    }
}

TEST_F(RegStore, PathRoundTripsExactlyWithoutTerminator)
{
    const std::string path = "/home/reader/만화/한국 책";
    ASSERT_TRUE(SetRegString(kTavimoKey, "sRecentFolder", path));
    EXPECT_FALSE(OpenTavimoStore()->value("sRecentFolder").toString().contains(QChar(0)));
    std::string out;
    EXPECT_TRUE(GetRegString(kTavimoKey, "sRecentFolder", out));
    EXPECT_EQ(out, path);
}

TEST_F(RegStore, PlantedPathsLoseOneTrailingNulAndEmptyOrMissingOnesLeaveTheOutput)
{
    struct Case {
        const char* what;
        QVariant planted;
        bool found;
        std::string expected;
    };
    const Case cases[] = {
        {"text with NUL", QString::fromUtf8("C:/books/a\0", 11), true, "C:/books/a"},
        {"binary with NUL", QByteArray("/srv/books\0", 11), true, "/srv/books"},
        {"empty", QString(""), false, "kept"},
        {"missing", QVariant(), false, "kept"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearStore();
        if (c.planted.isValid())
            OpenTavimoStore()->setValue("sRecentFolder", c.planted);
        std::string out = "kept";
        EXPECT_EQ(GetRegString(kTavimoKey, "sRecentFolder", out), c.found);
        EXPECT_EQ(out, c.expected);
    }
    ASSERT_TRUE(SetRegString(kTavimoKey, "sRecentFolder", ""));
    EXPECT_TRUE(OpenTavimoStore()->contains("sRecentFolder")) << "an empty path is still stored";
}

TEST_F(RegStore, KeyPathWithoutAnyKeyIsRefused)
{
    std::int32_t out = 0;
    EXPECT_FALSE(GetRegDword("SOFTWARE\\", "bRotate", out, 4));
    EXPECT_EQ(out, 4);
    EXPECT_FALSE(SetRegDword("", "bRotate", 1));
    EXPECT_FALSE(SetRegString("\\\\", "sRecentFolder", "x"));
}

TEST_F(RegStore, GarbageFileGivesDefaultsAndIsWrittenOver)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) & 0xFF));
    garbage.append("\n[General\nbRotate=\x01\xFF\nbSharpen==\n[[[\n");
    WriteStoreFile(garbage);
    std::int32_t out = 0;
    GetRegDword(kTavimoKey, "bRotate", out, 0);
    EXPECT_EQ(out, 0);
    std::string path;
    GetRegString(kTavimoKey, "sRecentFolder", path);
    EXPECT_TRUE(path.empty());

    EXPECT_TRUE(SetRegDword(kTavimoKey, "bRotate", 1));
    EXPECT_TRUE(SetRegString(kTavimoKey, "sRecentFolder", "/after/garbage"));
    EXPECT_TRUE(GetRegDword(kTavimoKey, "bRotate", out, 0));
    EXPECT_EQ(out, 1);
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
