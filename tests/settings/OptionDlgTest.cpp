// COptionDlg: what the dialog shows, and what OK and Cancel leave in g_option and the store.
#include "OptionSwitches.h"
#include "settings/Option.h"
#include "settings/OptionDlg.h"
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
    bool indented;
};

// In the order they stand in the dialog, top to bottom.
const Box kBoxes[] = {
    {1000, "확대", &COption::bStretech, false},
    {1001, "인터폴레이션", &COption::bInterpolation, true},
    {1006, "샤픈", &COption::bSharpen, true},
    {1002, "2페이지씩 보기", &COption::bView2Page, false},
    {1003, "좌우 페이지 바꾸기", &COption::bFlipPage, true},
    {1005, "페이지 폭 자동 인식하기", &COption::bAutoDetectWidth, true},
    {1004, "다음페이지 캐슁", &COption::bCacheNextFile, false},
};
// A mix of on and off, so that a box showing or saving the wrong switch shows up.
const std::int32_t kStart[] = {1, 0, 1, 0, 1, 1, 0};

class OptionDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearStore();
        for (std::size_t i = 0; i < std::size(kBoxes); ++i)
            g_option.*kBoxes[i].field = kStart[i];
    }
    void TearDown() override { ClearStore(); }

    // Clicks the boxes, then ends the dialog with Enter or the Cancel button; returns its result.
    int ClickThenEnd(COptionDlg& dlg, std::vector<int> ids, bool enter)
    {
        QTimer::singleShot(0, &dlg, [&dlg, ids, enter] {
            for (const int id : ids)
                QTest::mouseClick(dlg.CheckBox(id), Qt::LeftButton);
            if (enter)
                QTest::keyClick(&dlg, Qt::Key_Return);
            else
                QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
        });
        return dlg.exec();
    }

    OptionSwitches m_keep;
};

TEST_F(OptionDialog, ShowsTheSwitchesInOrderWithSubOptionsIndented)
{
    COptionDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "환경 설정");
    const int topLevelX = dlg.CheckBox(1000)->x();
    int previousY = -1;
    for (const Box& b : kBoxes) {
        SCOPED_TRACE(b.id);
        QCheckBox* box = dlg.CheckBox(b.id);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromUtf8(b.text));
        EXPECT_EQ(box->isChecked(), g_option.*b.field != 0);
        EXPECT_GT(box->y(), previousY);
        previousY = box->y();
        EXPECT_EQ(box->x() > topLevelX, b.indented);
    }
    // Automatic page width is shown but cannot be changed.
    EXPECT_FALSE(dlg.CheckBox(1005)->isEnabled());
    QTest::mouseClick(dlg.CheckBox(1005), Qt::LeftButton);
    EXPECT_TRUE(dlg.CheckBox(1005)->isChecked());

    QWidget* tabOrder[] = {dlg.OkButton(),     dlg.CancelButton(), dlg.CheckBox(1000), dlg.CheckBox(1001), dlg.CheckBox(1002),
                           dlg.CheckBox(1003), dlg.CheckBox(1004), dlg.CheckBox(1005), dlg.CheckBox(1006)};
    for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        EXPECT_EQ(tabOrder[i]->nextInFocusChain(), tabOrder[i + 1]) << i;
}

TEST_F(OptionDialog, OkCopiesTheBoxesAndSavesAllTenValues)
{
    COptionDlg dlg;
    EXPECT_EQ(ClickThenEnd(dlg, {1000, 1004}, true), QDialog::Accepted); // 확대 off, 캐슁 on
    // The sub-options keep their own state when their parent is turned off.
    const std::int32_t expected[] = {0, 0, 1, 0, 1, 1, 1};
    for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
        SCOPED_TRACE(kBoxes[i].id);
        EXPECT_EQ(g_option.*kBoxes[i].field, expected[i]);
    }
    EXPECT_EQ(OpenTavimoStore()->allKeys().size(), 11) << "unchanged values are written too";
    EXPECT_EQ(OpenTavimoStore()->value("bStretech").toInt(), 0);
    EXPECT_EQ(OpenTavimoStore()->value("bCacheNextFile").toInt(), 1);
}

TEST_F(OptionDialog, CancelLeavesMemoryAndStoreUntouched)
{
    COptionDlg dlg;
    std::vector<int> all;
    for (const Box& b : kBoxes)
        all.push_back(b.id);
    EXPECT_EQ(ClickThenEnd(dlg, all, false), QDialog::Rejected);
    for (std::size_t i = 0; i < std::size(kBoxes); ++i)
        EXPECT_EQ(g_option.*kBoxes[i].field, kStart[i]) << kBoxes[i].id;
    EXPECT_TRUE(OpenTavimoStore()->allKeys().isEmpty());
}

} // namespace
