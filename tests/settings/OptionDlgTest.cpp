// COptionDlg: what the dialog shows, and what OK and Cancel leave in g_option and the store.
#include "settings/Option.h"
#include "settings/OptionDlg.h"
#include "settings/RegStore.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace storetest;

namespace {

struct Box {
    int id;
    const char* text;
    std::int32_t COption::*field;
};

// In the order they stand in the dialog, top to bottom.
const Box kBoxes[] = {
    {1000, "확대", &COption::bStretech},
    {1001, "인터폴레이션", &COption::bInterpolation},
    {1006, "샤픈", &COption::bSharpen},
    {1002, "2페이지씩 보기", &COption::bView2Page},
    {1003, "좌우 페이지 바꾸기", &COption::bFlipPage},
    {1005, "페이지 폭 자동 인식하기", &COption::bAutoDetectWidth},
    {1004, "다음페이지 캐슁", &COption::bCacheNextFile},
};

class OptionDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearStore();
        m_saved = {g_option.bFlipPage, g_option.bInterpolation, g_option.bSharpen, g_option.bStretech,
                   g_option.bView2Page, g_option.bCacheNextFile, g_option.bAutoDetectWidth};
        g_option.bStretech = 1;
        g_option.bInterpolation = 0;
        g_option.bSharpen = 1;
        g_option.bView2Page = 0;
        g_option.bFlipPage = 1;
        g_option.bAutoDetectWidth = 1;
        g_option.bCacheNextFile = 0;
    }
    void TearDown() override
    {
        g_option.bFlipPage = m_saved[0];
        g_option.bInterpolation = m_saved[1];
        g_option.bSharpen = m_saved[2];
        g_option.bStretech = m_saved[3];
        g_option.bView2Page = m_saved[4];
        g_option.bCacheNextFile = m_saved[5];
        g_option.bAutoDetectWidth = m_saved[6];
        ClearStore();
    }

    std::array<std::int32_t, 7> m_saved{};
};

TEST_F(OptionDialog, ShowsTheCurrentInMemorySwitches)
{
    COptionDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "환경 설정");
    for (const Box& b : kBoxes) {
        ASSERT_NE(dlg.CheckBox(b.id), nullptr) << b.id;
        EXPECT_EQ(dlg.CheckBox(b.id)->text(), QString::fromUtf8(b.text));
        EXPECT_EQ(dlg.CheckBox(b.id)->isChecked(), g_option.*b.field != 0) << b.id;
    }
}

TEST_F(OptionDialog, BoxesStandInTemplateOrderWithSubOptionsIndented)
{
    COptionDlg dlg;
    int previousY = -1;
    for (const Box& b : kBoxes) {
        EXPECT_GT(dlg.CheckBox(b.id)->y(), previousY) << b.id;
        previousY = dlg.CheckBox(b.id)->y();
    }
    const int topLevelX = dlg.CheckBox(1000)->x();
    for (const int id : {1002, 1004})
        EXPECT_EQ(dlg.CheckBox(id)->x(), topLevelX) << id;
    for (const int id : {1001, 1006, 1003, 1005})
        EXPECT_GT(dlg.CheckBox(id)->x(), topLevelX) << id;
}

TEST_F(OptionDialog, AutoDetectWidthCannotBeToggled)
{
    COptionDlg dlg;
    QCheckBox* box = dlg.CheckBox(1005);
    EXPECT_FALSE(box->isEnabled());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
}

TEST_F(OptionDialog, OkCopiesBoxesAndSavesAllTenValues)
{
    g_option.sRecentFolder = "/books";
    COptionDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        QTest::mouseClick(dlg.CheckBox(1000), Qt::LeftButton); // 확대 off
        QTest::mouseClick(dlg.CheckBox(1004), Qt::LeftButton); // 캐슁 on
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(g_option.bStretech, 0);
    EXPECT_EQ(g_option.bCacheNextFile, 1);
    EXPECT_EQ(g_option.bInterpolation, 0) << "sub-options keep their own state";
    EXPECT_EQ(g_option.bSharpen, 1);
    EXPECT_EQ(g_option.bAutoDetectWidth, 1);
    EXPECT_EQ(OpenTavimoStore()->allKeys().size(), 10);
    std::int32_t stored = -1;
    EXPECT_TRUE(GetRegDword(kTavimoKey, "bStretech", stored, 1));
    EXPECT_EQ(stored, 0);
    EXPECT_TRUE(GetRegDword(kTavimoKey, "bCacheNextFile", stored, 0));
    EXPECT_EQ(stored, 1);
}

TEST_F(OptionDialog, OkWithoutChangesStillWritesEveryValue)
{
    COptionDlg dlg;
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Return); });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(OpenTavimoStore()->allKeys().size(), 10);
}

TEST_F(OptionDialog, CancelLeavesMemoryAndStoreUntouched)
{
    COptionDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        for (const Box& b : kBoxes)
            QTest::mouseClick(dlg.CheckBox(b.id), Qt::LeftButton);
        QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(g_option.bStretech, 1);
    EXPECT_EQ(g_option.bInterpolation, 0);
    EXPECT_EQ(g_option.bFlipPage, 1);
    EXPECT_EQ(g_option.bCacheNextFile, 0);
    EXPECT_TRUE(OpenTavimoStore()->allKeys().isEmpty());
}

TEST_F(OptionDialog, TabOrderStartsAtOkThenCancelThenBoxesById)
{
    COptionDlg dlg;
    QWidget* expected[] = {dlg.OkButton(), dlg.CancelButton(), dlg.CheckBox(1000), dlg.CheckBox(1001),
                           dlg.CheckBox(1002), dlg.CheckBox(1003), dlg.CheckBox(1004), dlg.CheckBox(1005), dlg.CheckBox(1006)};
    for (size_t i = 0; i + 1 < std::size(expected); ++i)
        EXPECT_EQ(expected[i]->nextInFocusChain(), expected[i + 1]) << i;
}

} // namespace
