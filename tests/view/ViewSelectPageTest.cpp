// The page dialog as the view runs it: it opens on the current page, OK on another page
// moves there, while OK on the current page and Cancel leave the reading as it was.
#include "AnswerModal.h"
#include "ViewTestSupport.h"

#include "view/SelectPageDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace viewtest;

namespace {
int RowOf(QTreeWidget* list, QTreeWidgetItem* item)
{
    return item ? list->indexOfTopLevelItem(item) : -1;
}

std::vector<int> SelectedRows(QTreeWidget* list)
{
    std::vector<int> rows;
    for (QTreeWidgetItem* item : list->selectedItems())
        rows.push_back(RowOf(list, item));
    return rows;
}
} // namespace

class SelectPageTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        m_view->m_dialogs = DefaultViewDialogs(m_view.get());
        OpenBook(12);
        m_view->m_itCurPage = 4;
        ASSERT_TRUE(m_view->ShowCurrentPage());
    }

    // Runs the view's page selection while `answer` works the dialog it opens.
    void SelectPageAnswering(const std::function<void(CSelectPageDlg&)>& answer)
    {
        EXPECT_TRUE(fixtures::RunAnsweringModal<CSelectPageDlg>([this] { m_view->SelectPage(); }, answer))
            << "the page dialog did not open";
    }

    void ExpectStillOnPage(std::size_t page, std::size_t titlesBefore)
    {
        EXPECT_EQ(m_view->m_itCurPage, page);
        EXPECT_EQ(CurrentWidth(), NumberedPicture(int(page)).width);
        EXPECT_EQ(m_frame.titles.size(), titlesBefore) << "the page was drawn again";
    }
};

TEST_F(SelectPageTest, OpensOnTheCurrentPageAndOkMovesToThePageChosenWithTheKeys)
{
    std::vector<int> selectedAtStart;
    int currentAtStart = -1;
    SelectPageAnswering([&](CSelectPageDlg& dialog) {
        selectedAtStart = SelectedRows(dialog.List());
        currentAtStart = RowOf(dialog.List(), dialog.List()->currentItem());
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(dialog.List(), Qt::Key_Down);
        QTest::keyClick(dialog.List(), Qt::Key_Return);
    });
    EXPECT_EQ(selectedAtStart, std::vector<int>{4});
    EXPECT_EQ(currentAtStart, 4);
    EXPECT_EQ(m_view->m_itCurPage, 7u);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(7).width);
    EXPECT_EQ(m_frame.titles.back(), QString("Tavimo [%1]").arg(QString::fromStdString(m_pages[7])));
}

TEST_F(SelectPageTest, DoubleClickOnAPageMovesThere)
{
    SelectPageAnswering([](CSelectPageDlg& dialog) {
        QTreeWidget* list = dialog.List();
        const QPoint row = list->visualItemRect(list->topLevelItem(2)).center();
        // A double click reaches the list as a click and then the double click itself.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row);
    });
    EXPECT_EQ(m_view->m_itCurPage, 2u);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(2).width);
}

TEST_F(SelectPageTest, OkOnTheCurrentPageDrawsNothingAgain)
{
    const std::size_t titles = m_frame.titles.size();
    SelectPageAnswering([](CSelectPageDlg& dialog) { dialog.OkButton()->click(); });
    ExpectStillOnPage(4, titles);
}

TEST_F(SelectPageTest, CancelAfterChoosingAnotherPageChangesNothing)
{
    const std::size_t titles = m_frame.titles.size();
    SelectPageAnswering([](CSelectPageDlg& dialog) {
        QTest::keyClick(dialog.List(), Qt::Key_End);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    ExpectStillOnPage(4, titles);

    SelectPageAnswering([](CSelectPageDlg& dialog) {
        QTest::keyClick(dialog.List(), Qt::Key_Home);
        dialog.CancelButton()->click();
    });
    ExpectStillOnPage(4, titles);
}

TEST_F(SelectPageTest, ClosedWindowCancelsLikeTheCancelButton)
{
    const std::size_t titles = m_frame.titles.size();
    SelectPageAnswering([](CSelectPageDlg& dialog) {
        QTest::keyClick(dialog.List(), Qt::Key_Up);
        dialog.close();
    });
    ExpectStillOnPage(4, titles);
}
