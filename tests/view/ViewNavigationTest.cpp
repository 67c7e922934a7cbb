// Page turns, jumps and their refusals in one-page and two-page view.
#include "ViewTestSupport.h"

#include "ImageFixtures.h"
#include "settings/Option.h"
#include "view/Messages.h"

#include <QTest>

using namespace viewtest;

namespace {
QString Text(const char* text)
{
    return QString::fromUtf8(text);
}
} // namespace

class NavigationTest : public ViewTest {};

TEST_F(NavigationTest, OpeningShowsTheFirstPage)
{
    OpenBook(3);
    EXPECT_EQ(m_view->m_itCurPage, 0u);
    EXPECT_EQ(CurrentPage(), m_pages[0]);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(0).width);
}

TEST_F(NavigationTest, ForwardOnTheLastPageStaysWithTheLastPageNotice)
{
    OpenBook(10);
    m_view->ShowLastPage();
    EXPECT_FALSE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 9u);
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kLastPage));
    EXPECT_EQ(m_messages->calls.back().type, 1); // the self-closing notice
}

TEST_F(NavigationTest, BackwardOnTheFirstPageStaysWithTheFirstPageNotice)
{
    OpenBook(10);
    EXPECT_FALSE(m_view->TurnPage(false));
    EXPECT_EQ(m_view->m_itCurPage, 0u);
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kFirstPage));
}

TEST_F(NavigationTest, EveryPageIsVisitedInOrderOneAtATime)
{
    OpenBook(4);
    for (std::size_t i = 1; i < 4; ++i) {
        ASSERT_TRUE(m_view->TurnPage(true));
        EXPECT_EQ(CurrentPage(), m_pages[i]);
        EXPECT_EQ(CurrentWidth(), NumberedPicture(int(i)).width);
    }
    ASSERT_TRUE(m_view->TurnPage(false));
    EXPECT_EQ(CurrentPage(), m_pages[2]);
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

TEST_F(NavigationTest, TwoPageViewOfTenPagesVisitsEvenIndexesAndRefusesPastEight)
{
    g_option.bView2Page = 1;
    OpenBook(10);
    for (std::size_t expected : {2u, 4u, 6u, 8u}) {
        ASSERT_TRUE(m_view->TurnPage(true));
        EXPECT_EQ(m_view->m_itCurPage, expected);
    }
    EXPECT_FALSE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_itCurPage, 8u);
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kLastOfBook));
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

TEST_F(NavigationTest, TwoPageBackwardFromIndexOneIsRefusedAndHomeReachesIndexZero)
{
    g_option.bView2Page = 1;
    OpenBook(10);
    m_view->m_itCurPage = 1;
    EXPECT_FALSE(m_view->TurnPage(false));
    EXPECT_EQ(m_view->m_itCurPage, 1u);
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kFirstPage));
    m_view->ShowFirstPage();
    EXPECT_EQ(m_view->m_itCurPage, 0u);
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
}

TEST_F(NavigationTest, SquarePageIsNotWide)
{
    EXPECT_FALSE(IsWidePage(100, 100));
    EXPECT_TRUE(IsWidePage(101, 100));
    EXPECT_FALSE(IsWidePage(99, 100));
}

TEST_F(NavigationTest, TenPageJumpsStopAtTheEnds)
{
    OpenBook(20);
    m_view->m_itCurPage = 4;
    m_view->OnPrev10();
    EXPECT_EQ(m_view->m_itCurPage, 0u);
    m_view->m_itCurPage = 14;
    m_view->OnNext10();
    EXPECT_EQ(m_view->m_itCurPage, 19u);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(19).width);
    m_view->m_itCurPage = 5;
    m_view->OnNext10();
    EXPECT_EQ(m_view->m_itCurPage, 15u);
    m_view->OnPrev10();
    EXPECT_EQ(m_view->m_itCurPage, 5u);
    EXPECT_TRUE(m_messages->calls.empty());
}

TEST_F(NavigationTest, TenPageJumpsAtTheEndsShowTheirNotices)
{
    OpenBook(20);
    m_view->OnPrev10();
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kFirstPage));
    m_view->ShowLastPage();
    m_view->OnNext10();
    EXPECT_EQ(m_messages->Last(), Text(viewtext::kLastOfBook));
    EXPECT_EQ(m_view->m_itCurPage, 19u);
}

TEST_F(NavigationTest, HomeAndEndJumpToTheFirstAndLastPage)
{
    OpenBook(6);
    m_view->ShowLastPage();
    EXPECT_EQ(CurrentPage(), m_pages[5]);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(5).width);
    m_view->ShowFirstPage();
    EXPECT_EQ(CurrentPage(), m_pages[0]);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(0).width);
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
