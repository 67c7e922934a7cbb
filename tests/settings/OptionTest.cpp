// COption: what a first start, a partly filled store and a save leave behind.
#include "settings/Option.h"
#include "settings/RegStore.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace storetest;

namespace {

const QStringList kAllValueNames = {"bFlipPage",   "bInterpolation", "bSharpen",     "bStretech",
                                    "bView2Page",  "bCacheNextFile", "bAutoDetectWidth", "bIsMaximized",
                                    "bRotate",     "sRecentFolder"};

class Option : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override { ClearStore(); }
};

void ExpectDefaults(const COption& o)
{
    EXPECT_EQ(o.bFlipPage, 0);
    EXPECT_EQ(o.bInterpolation, 1);
    EXPECT_EQ(o.bSharpen, 0);
    EXPECT_EQ(o.bStretech, 1);
    EXPECT_EQ(o.bView2Page, 0);
    EXPECT_EQ(o.bCacheNextFile, 1);
    EXPECT_EQ(o.bAutoDetectWidth, 0);
    EXPECT_EQ(o.bIsMaximized, 0);
    EXPECT_EQ(o.bRotate, 0);
    EXPECT_TRUE(o.sRecentFolder.empty());
}

TEST_F(Option, FirstStartTakesDefaultsAndFirstSaveWritesAllTenValues)
{
    {
        COption first;
        ExpectDefaults(first);
        EXPECT_TRUE(OpenTavimoStore()->allKeys().isEmpty()) << "loading must not write";
    }
    QStringList keys = OpenTavimoStore()->allKeys();
    keys.sort();
    QStringList expected = kAllValueNames;
    expected.sort();
    EXPECT_EQ(keys, expected);
}

TEST_F(Option, PartlyFilledStoreMixesStoredValuesWithDefaults)
{
    SetRegDword(kTavimoKey, "bView2Page", 1);
    SetRegDword(kTavimoKey, "bCacheNextFile", 0);
    COption o;
    EXPECT_EQ(o.bView2Page, 1);
    EXPECT_EQ(o.bCacheNextFile, 0);
    EXPECT_EQ(o.bInterpolation, 1);
    EXPECT_EQ(o.bStretech, 1);
    EXPECT_EQ(o.bFlipPage, 0);
}

TEST_F(Option, StoredZeroInterpolationReadsOffNotDefault)
{
    SetRegDword(kTavimoKey, "bInterpolation", 0);
    COption o;
    EXPECT_EQ(o.bInterpolation, 0);
}

TEST_F(Option, StoredNonBooleanValueIsKeptUnchanged)
{
    SetRegDword(kTavimoKey, "bSharpen", 5);
    COption o;
    EXPECT_EQ(o.bSharpen, 5);
}

TEST_F(Option, BadValueUnderOneNameLeavesOnlyThatSwitchAtDefault)
{
    SetRegDword(kTavimoKey, "bRotate", 1);
    OpenTavimoStore()->setValue("bStretech", "12345678901234567890");
    COption o;
    EXPECT_EQ(o.bStretech, 1);
    EXPECT_EQ(o.bRotate, 1);
}

TEST_F(Option, DestructionSavesChangesMadeInMemory)
{
    {
        COption o;
        o.bFlipPage = 1;
        o.bInterpolation = 0;
        o.sRecentFolder = "/data/책";
    }
    COption reloaded;
    EXPECT_EQ(reloaded.bFlipPage, 1);
    EXPECT_EQ(reloaded.bInterpolation, 0);
    EXPECT_EQ(reloaded.sRecentFolder, "/data/책");
}

TEST_F(Option, LoadKeepsRecentFolderWhenStoredPathIsEmpty)
{
    COption o;
    o.sRecentFolder = "";
    o.Save();
    o.sRecentFolder = "/in/memory";
    o.Load();
    EXPECT_EQ(o.sRecentFolder, "/in/memory");
}

TEST_F(Option, GarbageStoreFileGivesDefaults)
{
    WriteStoreFile(QByteArray("\xFF\xFE\x00[\x01\x02 = = =\n[General]]\nbStretech\n=\n", 36));
    COption o;
    ExpectDefaults(o);
}

TEST_F(Option, ProcessRecordIsUsableBeforeAnyApplicationObject)
{
    // g_option was constructed during static initialisation, before main.
    g_option.bRotate = 1;
    g_option.Save();
    COption other;
    EXPECT_EQ(other.bRotate, 1);
    g_option.bRotate = 0;
}

} // namespace
