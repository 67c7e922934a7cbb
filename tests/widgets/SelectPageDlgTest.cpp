// CSelectPageDlg: the initial selection, the OK and double-click rules and Cancel.
#include "view/SelectPageDlg.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

std::vector<std::string> Pages(int count)
{
    std::vector<std::string> pages;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%04d", i);
        pages.emplace_back(name);
    }
    return pages;
}

TEST(SelectPageDialog, ListsEveryPageUnderOneHeadedColumn)
{
    const std::vector<std::string> pages = {"/books/a/001.jpg", "/books/a/002.jpg", "/books/a/한글.gif"};
    CSelectPageDlg dlg(&pages, 0);
    EXPECT_EQ(dlg.windowTitle(), "파일 선택");
    QTreeWidget* list = dlg.List();
    EXPECT_EQ(list->columnCount(), 1);
    EXPECT_EQ(list->headerItem()->text(0), "파일 목록");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list->topLevelItem(i)->text(0).toStdString(), pages[i]);
}

TEST(SelectPageDialog, CurrentPageIsSelectedFocusedAndScrolledIntoView)
{
    const std::vector<std::string> pages = Pages(300);
    CSelectPageDlg dlg(&pages, 237);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTreeWidget* list = dlg.List();
    QTreeWidgetItem* item = list->topLevelItem(237);
    EXPECT_TRUE(item->isSelected());
    EXPECT_EQ(list->currentItem(), item);
    EXPECT_EQ(list->selectedItems().size(), 1);
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(item)));
}

TEST(SelectPageDialog, NoCurrentPageOpensWithNothingSelected)
{
    const std::vector<std::string> pages = Pages(10);
    CSelectPageDlg dlg(&pages, 10);
    EXPECT_TRUE(dlg.List()->selectedItems().isEmpty());
}

TEST(SelectPageDialog, OkTakesTopmostOfSeveralSelected)
{
    const std::vector<std::string> pages = Pages(50);
    CSelectPageDlg dlg(&pages, 40);
    dlg.List()->topLevelItem(12)->setSelected(true);
    dlg.List()->topLevelItem(30)->setSelected(true);
    QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.OkButton(), Qt::LeftButton); });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.SelectedIndex(), 12);
}

TEST(SelectPageDialog, OkWithNothingSelectedKeepsDialogOpen)
{
    const std::vector<std::string> pages = Pages(20);
    CSelectPageDlg dlg(&pages, 5);
    bool openAfterOk = false;
    QTimer::singleShot(0, &dlg, [&] {
        dlg.List()->clearSelection();
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        openAfterOk = dlg.isVisible();
        dlg.List()->topLevelItem(7)->setSelected(true);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(dlg.SelectedIndex(), 7);
}

TEST(SelectPageDialog, EnterActsAsOk)
{
    const std::vector<std::string> pages = Pages(20);
    CSelectPageDlg dlg(&pages, 3);
    QTimer::singleShot(0, &dlg, [&] {
        dlg.List()->topLevelItem(9)->setSelected(true);
        QTest::keyClick(dlg.List(), Qt::Key_Return);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.SelectedIndex(), 3);
}

TEST(SelectPageDialog, DoubleClickTakesTheClickedPage)
{
    const std::vector<std::string> pages = Pages(20);
    CSelectPageDlg dlg(&pages, 0);
    QTimer::singleShot(0, &dlg, [&] {
        QTreeWidget* list = dlg.List();
        const QPoint at = list->visualItemRect(list->topLevelItem(4)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.SelectedIndex(), 4);
}

TEST(SelectPageDialog, CancelKeepsTheIndexGivenAtStart)
{
    const std::vector<std::string> pages = Pages(20);
    CSelectPageDlg dlg(&pages, 6);
    QTimer::singleShot(0, &dlg, [&] {
        dlg.List()->clearSelection();
        dlg.List()->topLevelItem(15)->setSelected(true);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(dlg.SelectedIndex(), 6);
}

TEST(SelectPageDialog, FiveThousandPagesUseUniformRowsWithoutItemWidgets)
{
    const std::vector<std::string> pages = Pages(5000);
    CSelectPageDlg dlg(&pages, 4999);
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 5000);
    EXPECT_TRUE(dlg.List()->uniformRowHeights());
    EXPECT_EQ(dlg.List()->itemWidget(dlg.List()->topLevelItem(0), 0), nullptr);
}

TEST(SelectPageDialog, NullPageListGivesEmptyList)
{
    CSelectPageDlg dlg(nullptr, 0);
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 0);
}

} // namespace
