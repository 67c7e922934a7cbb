// COptionDlg: each box shows and sets its own switch; OK saves them all, Cancel nothing.
#include "settings/OptionDlg.h"
#include "OptionSwitches.h"
#include "StoreTestSupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(OptionDialog, OkFlipsEachClickedSwitchAloneAndSavesEveryValueCancelLeavesMemoryAndStore) {
    // Each box with its switch; a mix of on and off, so a box bound to another switch shows.
    const std::tuple<int, std::int32_t COption::*, std::int32_t> boxes[] = {
        {1000, &COption::bStretech, 1},     {1001, &COption::bInterpolation, 0},
        {1006, &COption::bSharpen, 1},      {1002, &COption::bView2Page, 0},
        {1003, &COption::bFlipPage, 1},     {1005, &COption::bAutoDetectWidth, 1},
        {1004, &COption::bCacheNextFile, 0}};
    const OptionSwitches keep;
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        storetest::ClearStore();
        for (const auto& [id, field, start] : boxes)
            g_option.*field = start;
        COptionDlg dlg;
        for (const auto& [id, field, start] : boxes)
            EXPECT_EQ(dlg.CheckBox(id)->isChecked(), start != 0) << id;
        QTimer::singleShot(0, &dlg, [&] {
            for (const auto& [id, field, start] : boxes) // automatic page width cannot be changed
                QTest::mouseClick(dlg.CheckBox(id), Qt::LeftButton);
            QTest::mouseClick(ok ? dlg.OkButton() : dlg.CancelButton(), Qt::LeftButton);
        });
        EXPECT_EQ(dlg.exec(), ok ? QDialog::Accepted : QDialog::Rejected);
        for (const auto& [id, field, start] : boxes)
            EXPECT_EQ(g_option.*field, ok && id != 1005 ? 1 - start : start) << id;
        EXPECT_EQ(storetest::OpenTavimoStore()->allKeys().size(), ok ? 11 : 0)
            << "unchanged values are written too";
        EXPECT_EQ(storetest::OpenTavimoStore()->value("bStretech", 9).toInt(), ok ? 0 : 9);
    }
    storetest::ClearStore();
}

} // namespace
