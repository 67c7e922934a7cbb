// CSelectPageDlg: the initial selection, the OK and double-click rules and Cancel.
#include "view/SelectPageDlg.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

std::vector<std::string> Pages(int count)
{
    std::vector<std::string> pages;
    for (int i = 0; i < count; ++i)
        pages.push_back("page" + std::to_string(i));
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
    EXPECT_EQ(CSelectPageDlg(nullptr, 0).List()->topLevelItemCount(), 0);
}

TEST(SelectPageDialog, CurrentPageIsSelectedFocusedAndScrolledIntoView)
{
    const std::vector<std::string> pages = Pages(300);
    CSelectPageDlg dlg(&pages, 237);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTreeWidget* list = dlg.List();
    QTreeWidgetItem* item = list->topLevelItem(237);
    EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem*>{item});
    EXPECT_EQ(list->currentItem(), item);
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(item)));
    EXPECT_TRUE(CSelectPageDlg(&pages, 300).List()->selectedItems().isEmpty()) << "no current page";
}

TEST(SelectPageDialog, EachWayOfEndingGivesItsPage)
{
    struct Case {
        const char* what;
        int current;
        std::function<void(CSelectPageDlg&, QTreeWidget*)> act;
        int result;
        int selected;
    };
    const auto select = [](QTreeWidget* list, std::initializer_list<int> rows) {
        list->clearSelection();
        for (const int row : rows)
            list->topLevelItem(row)->setSelected(true);
    };
    const Case cases[] = {
        {"OK takes the topmost of several", 40,
         [&](CSelectPageDlg& d, QTreeWidget* l) { select(l, {30, 12, 40}); QTest::mouseClick(d.OkButton(), Qt::LeftButton); },
         QDialog::Accepted, 12},
        {"OK with nothing selected keeps the dialog open", 5,
         [&](CSelectPageDlg& d, QTreeWidget* l) {
             select(l, {});
             QTest::mouseClick(d.OkButton(), Qt::LeftButton);
             EXPECT_TRUE(d.isVisible());
             select(l, {7});
             QTest::mouseClick(d.OkButton(), Qt::LeftButton);
         },
         QDialog::Accepted, 7},
        {"Enter acts as OK", 3,
         [&](CSelectPageDlg&, QTreeWidget* l) { select(l, {9}); QTest::keyClick(l, Qt::Key_Return); },
         QDialog::Accepted, 9},
        {"double click takes the clicked page", 0,
         [](CSelectPageDlg&, QTreeWidget* l) {
             const QPoint at = l->visualItemRect(l->topLevelItem(4)).center();
             QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
             QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
         },
         QDialog::Accepted, 4},
        {"Escape keeps the page given at start", 6,
         [&](CSelectPageDlg& d, QTreeWidget* l) { select(l, {15}); QTest::keyClick(&d, Qt::Key_Escape); },
         QDialog::Rejected, 6},
    };
    const std::vector<std::string> pages = Pages(50);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSelectPageDlg dlg(&pages, c.current);
        QTimer::singleShot(0, &dlg, [&] { c.act(dlg, dlg.List()); });
        EXPECT_EQ(dlg.exec(), c.result);
        EXPECT_EQ(dlg.SelectedIndex(), c.selected);
    }
}

TEST(SelectPageDialog, FiveThousandPagesUseUniformRowsWithoutItemWidgets)
{
    const std::vector<std::string> pages = Pages(5000);
    CSelectPageDlg dlg(&pages, 4999);
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 5000);
    EXPECT_TRUE(dlg.List()->uniformRowHeights());
    EXPECT_EQ(dlg.List()->itemWidget(dlg.List()->topLevelItem(0), 0), nullptr);
}

} // namespace
