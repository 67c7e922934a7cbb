// CSelectPageDlg: the list, the initial selection, the OK and double-click rules and Cancel.
#include "view/SelectPageDlg.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(SelectPageDialog, ListsEveryPageWithTheCurrentOneSelectedFocusedAndInView)
{
    std::vector<std::string> pages = {"/books/a/001.jpg", "/books/a/한글.gif"};
    for (int i = 2; i < 300; ++i)
        pages.push_back("page" + std::to_string(i));
    CSelectPageDlg dlg(&pages, 237);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTreeWidget* list = dlg.List();
    ASSERT_EQ(list->topLevelItemCount(), 300);
    EXPECT_EQ(list->topLevelItem(1)->text(0).toStdString(), pages[1]);
    QTreeWidgetItem* item = list->topLevelItem(237);
    EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem*>{item});
    EXPECT_EQ(list->currentItem(), item);
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(item)));
    EXPECT_TRUE(CSelectPageDlg(&pages, 300).List()->selectedItems().isEmpty()) << "no current page";
    EXPECT_EQ(CSelectPageDlg(nullptr, 0).List()->topLevelItemCount(), 0);
}

TEST(SelectPageDialog, EachWayOfEndingGivesItsPage)
{
    const auto select = [](QTreeWidget* list, std::initializer_list<int> rows) {
        list->clearSelection();
        for (const int row : rows)
            list->topLevelItem(row)->setSelected(true);
    };
    const auto ok = [](CSelectPageDlg& d) { QTest::mouseClick(d.OkButton(), Qt::LeftButton); };
    const std::tuple<const char*, int, std::function<void(CSelectPageDlg&, QTreeWidget*)>, int, int> rows[] = {
        {"OK takes the topmost of several", 40, [&](auto& d, auto* l) { select(l, {30, 12, 40}); ok(d); },
         QDialog::Accepted, 12},
        {"OK with nothing selected keeps the dialog open", 5,
         [&](auto& d, auto* l) {
             select(l, {});
             ok(d);
             EXPECT_TRUE(d.isVisible());
             select(l, {7});
             ok(d);
         },
         QDialog::Accepted, 7},
        {"Enter acts as OK", 3, [&](auto&, auto* l) { select(l, {9}); QTest::keyClick(l, Qt::Key_Return); },
         QDialog::Accepted, 9},
        {"double click takes the clicked page", 0,
         [](auto&, auto* l) {
             const QPoint at = l->visualItemRect(l->topLevelItem(4)).center();
             QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
             QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
         },
         QDialog::Accepted, 4},
        {"Escape keeps the page given at start", 6,
         [&](auto& d, auto* l) { select(l, {15}); QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected, 6},
    };
    const std::vector<std::string> pages(50, "page");
    for (const auto& [what, current, act, result, selected] : rows) {
        CSelectPageDlg dlg(&pages, current);
        QTimer::singleShot(0, &dlg, [&] { act(dlg, dlg.List()); });
        EXPECT_EQ(dlg.exec(), result) << what;
        EXPECT_EQ(dlg.SelectedIndex(), selected) << what;
    }
}

} // namespace
