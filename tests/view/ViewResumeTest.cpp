// Reading on: a book of the recent list opens on the page it was left on, by entry name,
// with the switch or from the list, and one gone from the disk leaves the list.
#include "ViewTestSupport.h"

#include "settings/Option.h"
#include "settings/RecentBooks.h"
#include "view/Messages.h"

#include <QDir>
#include <QFile>

using namespace viewtest;

namespace {

class ResumeTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        ForgetEveryBook();
        m_book = TempPath("book");
        QDir().mkpath(QString::fromStdString(m_book));
        m_pages = WriteJpegBook(m_book, 6);
        m_other = TempPath("other");
        QDir().mkpath(QString::fromStdString(m_other));
        WriteJpegBook(m_other, 2);
    }
    void TearDown() override {
        ViewTest::TearDown();
        ForgetEveryBook();
    }
    static void ForgetEveryBook() {
        g_recentBooks = CRecentBooks();
        g_recentBooks.Load();
        g_recentBooks.Clear();
        g_recentBooks.Save();
    }
    // Opens the book, turns `turns` pages and leaves it for another book.
    void ReadAndLeave(int turns) {
        const std::int32_t resume = g_option.bResumePage;
        g_option.bResumePage = 0;
        m_view->OpenCommandLinePath(m_book);
        g_option.bResumePage = resume;
        for (int i = 0; i < turns; ++i)
            ASSERT_TRUE(m_view->TurnPage(true));
        m_view->OpenCommandLinePath(m_other);
    }
    std::string m_book;
    std::string m_other;
};

TEST_F(ResumeTest, TheLeftPageComesBackOnlyWhereReadingOnIsAsked) {
    struct Case {
        const char* fault;
        bool resume;
        bool fromList;
        bool twoPages;
        int expected;
        int partner; // the second page shown; -1 for one-page view
    };
    const Case cases[] = {
        {"the switch off must open on the first page", false, false, false, 0, -1},
        {"the switch on must open on the page left", true, false, false, 3, -1},
        {"the list must open on the page left even with the switch off", false, true, false, 3, -1},
        {"two-page view must pair the page left with the next one", true, false, true, 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        g_option.bView2Page = 0;
        ReadAndLeave(3);
        g_option.bResumePage = c.resume ? 1 : 0;
        g_option.bView2Page = c.twoPages ? 1 : 0;
        if (c.fromList)
            m_view->OpenRecentBook(m_book);
        else
            m_view->OpenCommandLinePath(m_book);
        EXPECT_EQ(CurrentPage(), m_pages[std::size_t(c.expected)]);
        if (c.partner >= 0) {
            EXPECT_EQ(m_view->m_pPage2->GetWidth(), NumberedPicture(c.partner).width);
        }
        m_view->OpenCommandLinePath(m_other);
    }
}

TEST_F(ResumeTest, ThePageIsFoundByItsNameOrTheBookStartsAtItsFirst) {
    g_option.bResumePage = 1;
    ReadAndLeave(2);
    // Pages sorted before it move the page left to another place in the list.
    const std::string before = m_book + "/a-cover.jpg";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(m_pages[5]), QString::fromStdString(before)));
    m_view->OpenCommandLinePath(m_book);
    EXPECT_EQ(CurrentPage(), m_pages[2]) << "the page must be found by its name, not its place";
    EXPECT_EQ(m_view->m_itCurPage, 3u);

    m_view->OpenCommandLinePath(m_other);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(m_pages[2])));
    m_view->OpenCommandLinePath(m_book);
    EXPECT_EQ(m_view->m_itCurPage, 0u) << "a page gone from the book must open the first page";
}

TEST_F(ResumeTest, ABookGoneFromTheDiskIsReportedAndLeavesTheList) {
    ReadAndLeave(1);
    ASSERT_NE(g_recentBooks.Find(m_book, SOURCE_FOLDER), nullptr);
    ASSERT_TRUE(QDir(QString::fromStdString(m_book)).removeRecursively());
    m_view->OpenRecentBook(m_book);
    EXPECT_EQ(m_messages->Last(), QString::fromUtf8(viewtext::kOpenFailed));
    EXPECT_EQ(g_recentBooks.Find(m_book, SOURCE_FOLDER), nullptr);
    EXPECT_EQ(g_recentBooks.Books().size(), 1u) << "only the vanished book leaves the list";
}

TEST_F(ResumeTest, PickedFilesAreNoBookAndDoNotTakeTheLeftBooksPage) {
    m_view->OpenCommandLinePath(m_book);
    ASSERT_TRUE(m_view->TurnPage(true));
    m_view->OpenDroppedPaths({m_pages[4], m_pages[5]});
    ASSERT_EQ(g_recentBooks.Books().size(), 1u);
    EXPECT_EQ(g_recentBooks.Books()[0].path, m_book);
    EXPECT_EQ(g_recentBooks.Books()[0].page, m_pages[1]);
}

} // namespace
