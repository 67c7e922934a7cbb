// COption: what a first start, a partly filled store and a save leave behind.
#include "settings/Option.h"
#include "settings/RegStore.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <map>

using namespace storetest;

namespace {

class Option : public ::testing::Test {
protected:
    void SetUp() override { ClearStore(); }
    void TearDown() override { ClearStore(); }
};

using Switch = std::int32_t COption::*;
struct Value {
    const char* name;
    Switch field;
    std::int32_t fallback;
};
const Value kSwitches[] = {
    {"bFlipPage", &COption::bFlipPage, 0},         {"bInterpolation", &COption::bInterpolation, 1},
    {"bSharpen", &COption::bSharpen, 0},           {"bStretech", &COption::bStretech, 1},
    {"bView2Page", &COption::bView2Page, 0},       {"bCacheNextFile", &COption::bCacheNextFile, 1},
    {"bAutoDetectWidth", &COption::bAutoDetectWidth, 0}, {"bIsMaximized", &COption::bIsMaximized, 0},
    {"bRotate", &COption::bRotate, 0},       {"bResumePage", &COption::bResumePage, 0},
};

TEST_F(Option, FirstStartTakesDefaultsWritesNothingAndItsSaveWritesAllTenValues)
{
    {
        COption first;
        for (const Value& v : kSwitches)
            EXPECT_EQ(first.*v.field, v.fallback) << v.name;
        EXPECT_TRUE(first.sRecentFolder.empty());
        EXPECT_TRUE(OpenTavimoStore()->allKeys().isEmpty()) << "loading must not write";
    }
    QStringList expected = {"sRecentFolder"};
    for (const Value& v : kSwitches)
        expected << v.name;
    QStringList keys = OpenTavimoStore()->allKeys();
    keys.sort();
    expected.sort();
    EXPECT_EQ(keys, expected);
}

TEST_F(Option, EachStoredValueOverridesOnlyItsOwnDefault)
{
    // Zero is a value, not "missing"; values other than 0 and 1 are kept as stored; a value
    // that is not a 32-bit number leaves only its own switch at the default.
    SetRegDword(kTavimoKey, "bView2Page", 1);
    SetRegDword(kTavimoKey, "bCacheNextFile", 0);
    SetRegDword(kTavimoKey, "bInterpolation", 0);
    SetRegDword(kTavimoKey, "bSharpen", 5);
    OpenTavimoStore()->setValue("bStretech", "12345678901234567890");
    const COption o;
    const std::map<std::string, std::int32_t> stored = {
        {"bView2Page", 1}, {"bCacheNextFile", 0}, {"bInterpolation", 0}, {"bSharpen", 5}};
    for (const Value& v : kSwitches) {
        const auto it = stored.find(v.name);
        EXPECT_EQ(o.*v.field, it == stored.end() ? v.fallback : it->second) << v.name;
    }
}

TEST_F(Option, ChangesComeBackAfterSavingAndAnEmptyStoredPathKeepsTheOneInMemory)
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

    reloaded.sRecentFolder = "";
    reloaded.Save();
    reloaded.sRecentFolder = "/in/memory";
    reloaded.Load();
    EXPECT_EQ(reloaded.sRecentFolder, "/in/memory");

    // The process record was built during static initialisation, before any Qt object.
    g_option.bRotate = 1;
    g_option.Save();
    EXPECT_EQ(COption().bRotate, 1);
    g_option.bRotate = 0;
}

} // namespace
