// Page turns, jumps and their refusals in one-page and two-page view.
#include "ViewTestSupport.h"

#include "ImageFixtures.h"
#include "settings/Option.h"
#include "view/Messages.h"

#include <QTest>
#include <functional>

using namespace viewtest;

namespace {
QString Text(const char* text)
{
    return QString::fromUtf8(text);
}
} // namespace

class NavigationTest : public ViewTest {};

// One move from a known page: where it lands, what the page shows and what notice it gives.
struct MoveCase {
    const char* fault;
    bool twoPages;
    int count;
    std::size_t from;
    std::function<void(CTavimoView&)> move;
    std::size_t landsOn;
    const char* notice; // nullptr: none
};

TEST_F(NavigationTest, EachMoveLandsOnItsPageOrGivesItsNotice)
{
    const auto forward = [](CTavimoView& v) { v.TurnPage(true); };
    const auto backward = [](CTavimoView& v) { v.TurnPage(false); };
    const auto next10 = [](CTavimoView& v) { v.OnNext10(); };
    const auto prev10 = [](CTavimoView& v) { v.OnPrev10(); };
    const MoveCase cases[] = {
        {"forward skips a page", false, 4, 1, forward, 2, nullptr},
        {"backward skips a page", false, 4, 3, backward, 2, nullptr},
        {"forward past the last page", false, 10, 9, forward, 9, viewtext::kLastPage},
        {"backward before the first page", false, 10, 0, backward, 0, viewtext::kFirstPage},
        {"two-page forward not by two", true, 10, 4, forward, 6, nullptr},
        {"two-page forward past the last full spread", true, 10, 8, forward, 8, viewtext::kLastOfBook},
        {"two-page odd book cannot reach its last page", true, 9, 6, forward, 8, nullptr},
        {"two-page backward from index one", true, 10, 1, backward, 1, viewtext::kFirstPage},
        {"two-page backward not by two", true, 10, 4, backward, 2, nullptr},
        {"jump back below zero", false, 20, 4, prev10, 0, nullptr},
        {"jump back not by ten", false, 20, 15, prev10, 5, nullptr},
        {"jump forward past the end", false, 20, 14, next10, 19, nullptr},
        {"jump forward not by ten", false, 20, 5, next10, 15, nullptr},
        {"jump back on the first page silent", false, 20, 0, prev10, 0, viewtext::kFirstPage},
        {"jump forward on the last page silent", false, 20, 19, next10, 19, viewtext::kLastOfBook},
        {"end not on the last page", false, 6, 2, [](CTavimoView& v) { v.ShowLastPage(); }, 5, nullptr},
        {"home not on the first page", true, 10, 1, [](CTavimoView& v) { v.ShowFirstPage(); }, 0, nullptr},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.fault);
        TearDown();
        SetUp();
        g_option.bView2Page = c.twoPages;
        OpenBook(c.count);
        m_view->m_itCurPage = c.from;
        m_view->ShowCurrentPage();
        c.move(*m_view);
        EXPECT_EQ(m_view->m_itCurPage, c.landsOn);
        EXPECT_EQ(CurrentWidth(), NumberedPicture(int(c.landsOn)).width);
        EXPECT_EQ(m_messages->Texts(), c.notice ? std::vector<QString>{Text(c.notice)} : std::vector<QString>{});
        if (c.notice == viewtext::kLastPage)
            EXPECT_EQ(m_messages->calls.back().type, 1); // the self-closing notice
    }
}

TEST_F(NavigationTest, EmptyListTurnWaitsForOkInOnePageViewAndClosesItselfInTwoPageView)
{
    EXPECT_FALSE(m_view->TurnPage(true));
    ASSERT_EQ(m_messages->calls.size(), 1u);
    EXPECT_EQ(m_messages->calls[0].text, Text(viewtext::kNoFiles));
    EXPECT_EQ(m_messages->calls[0].type, int(MB_OK));
    EXPECT_EQ(m_messages->calls[0].flags, 0);

    g_option.bView2Page = 1;
    EXPECT_FALSE(m_view->TurnPage(false));
    ASSERT_EQ(m_messages->calls.size(), 2u);
    EXPECT_EQ(m_messages->calls[1].text, Text(viewtext::kNoFiles));
    EXPECT_EQ(m_messages->calls[1].type, 1);
}

TEST_F(NavigationTest, EmptyListJumpsDoNothingAndPageSelectAsksToOpenFirst)
{
    m_view->ShowFirstPage();
    m_view->ShowLastPage();
    m_view->OnNext10();
    m_view->OnPrev10();
    EXPECT_TRUE(m_messages->calls.empty());
    m_view->SelectPage();
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kOpenFirst));
}

TEST_F(NavigationTest, TwoPageViewOfNinePagesEndsOnTheLastPageWithAWhitePartner)
{
    g_option.bView2Page = 1;
    OpenBook(9);
    const int partnerWidth = m_view->m_pPage2->GetWidth();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 8u);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(8).width);
    // The partner keeps the size of the picture it held last and is all white.
    EXPECT_EQ(m_view->m_pPage2->GetWidth(), NumberedPicture(7).width);
    EXPECT_NE(partnerWidth, 0);
    EXPECT_EQ(m_view->m_pPage2->GetPixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(m_view->m_pPage2->GetPixel(m_view->m_pPage2->GetWidth() - 1, 50), 0xFFFFFFu);
}

TEST_F(NavigationTest, WidePageStandsAloneSoTheSpreadMovesByOne)
{
    g_option.bView2Page = 1;
    g_option.bAutoDetectWidth = 1;
    std::vector<PagePicture> pages;
    for (int i = 0; i < 8; ++i)
        pages.push_back(NumberedPicture(i));
    pages[3] = PagePicture{150, 100, Qt::red}; // a double page at index 3
    m_pages = WriteBook(TempPath("wide"), pages);
    m_view->ScanFolder(TempPath("wide"));

    m_view->m_itCurPage = 3;
    m_view->ShowCurrentPage();
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 4u);

    m_view->m_itCurPage = 3;
    m_view->ShowCurrentPage();
    ASSERT_TRUE(m_view->TurnPage(false));
    EXPECT_EQ(m_view->m_itCurPage, 2u);
    EXPECT_FALSE(IsWidePage(100, 100)); // a square page pairs
}

TEST_F(NavigationTest, SecondTurnBeforeThePreparationTickIsDroppedWithCachingOn)
{
    g_option.bCacheNextFile = 1;
    OpenBook(5);
    ASSERT_TRUE(WaitUntil([&] { return !m_view->m_bBusy; }));
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_TRUE(m_view->m_bBusy);
    EXPECT_FALSE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 1u);
    // Jumps are not held back by a pending preparation.
    m_view->ShowLastPage();
    EXPECT_EQ(m_view->m_itCurPage, 4u);
    ASSERT_TRUE(WaitUntil([&] { return !m_view->m_bBusy; }));
    EXPECT_FALSE(m_view->IsTimerRunning(1));
}

TEST_F(NavigationTest, EveryTurnIsTakenAndNoTimerStartsWithCachingOff)
{
    OpenBook(5);
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_FALSE(m_view->m_bBusy);
    EXPECT_FALSE(m_view->IsTimerRunning(1));
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 2u);
}

TEST_F(NavigationTest, PageSelectMovesToTheChosenPageOnlyWhenItDiffers)
{
    OpenBook(5);
    std::size_t offered = 99;
    std::optional<std::size_t> answer = 3;
    m_view->m_dialogs.choosePage = [&](const std::vector<std::string>& pages, std::size_t current) {
        EXPECT_EQ(pages.size(), 5u);
        offered = current;
        return answer;
    };
    m_view->SelectPage();
    EXPECT_EQ(offered, 0u);
    EXPECT_EQ(m_view->m_itCurPage, 3u);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(3).width);

    const std::size_t titles = m_frame.titles.size();
    m_view->SelectPage(); // the current page again: no redraw
    EXPECT_EQ(m_frame.titles.size(), titles);
    answer.reset(); // cancelled
    m_view->SelectPage();
    EXPECT_EQ(m_view->m_itCurPage, 3u);
}

TEST_F(NavigationTest, UnreadablePageIsReportedAndStillShownInOnePageView)
{
    OpenBook(4);
    ASSERT_TRUE(fixtures::WriteFile(m_pages[1], {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}));
    EXPECT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 1u);
    ASSERT_FALSE(m_messages->calls.empty());
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kOpenFailed));
    EXPECT_EQ(m_messages->calls.back().type, int(MB_OK));
    // A broken page fails alone: the next one shows.
    EXPECT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(CurrentWidth(), NumberedPicture(2).width);
}

TEST_F(NavigationTest, UnreadablePageFailsATwoPageTurnWithoutStartingAPreparation)
{
    g_option.bView2Page = 1;
    OpenBook(6);
    g_option.bCacheNextFile = 1;
    ASSERT_TRUE(fixtures::WriteFile(m_pages[2], {'x'}));
    EXPECT_FALSE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 2u);
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kOpenFailed));
    EXPECT_FALSE(m_view->m_bBusy);
    EXPECT_FALSE(m_view->IsTimerRunning(1));
}
