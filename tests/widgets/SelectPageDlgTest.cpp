// CSelectPageDlg: the current page scrolled into view, and OK's rules for several or no
// selected pages (the initial selection, Enter, double click and Cancel are the view's
// page-dialog cases, the title the page-dialog journey's).
#include "view/SelectPageDlg.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(SelectPageDialog, CurrentPageIsInViewAndOkTakesTheTopmostOrWaitsForOne) {
    std::vector<std::string> pages = {"/books/a/001.jpg", "/books/a/한글.gif"};
    for (int i = 2; i < 300; ++i)
        pages.push_back("page" + std::to_string(i));
    CSelectPageDlg dlg(&pages, 237);
    QTreeWidget* list = dlg.List();
    EXPECT_EQ(list->headerItem()->text(0), "파일 목록");
    ASSERT_EQ(list->topLevelItemCount(), 300);
    EXPECT_EQ(list->topLevelItem(1)->text(0).toStdString(), pages[1]);
    EXPECT_TRUE(CSelectPageDlg(&pages, 300).List()->selectedItems().isEmpty()) << "no current page";
    const auto selectAndOk = [&](std::initializer_list<int> rows) {
        list->clearSelection();
        for (const int row : rows)
            list->topLevelItem(row)->setSelected(true);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    };
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(list->topLevelItem(237))));
        selectAndOk({});
        EXPECT_TRUE(dlg.isVisible()) << "OK with nothing selected ended the dialog";
        selectAndOk({30, 12, 40});
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.SelectedIndex(), 12);
}
