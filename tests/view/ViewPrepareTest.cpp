// Preparing the next turn ahead and taking the prepared pictures at the turn.
#include "ViewTestSupport.h"

#include "ArchiveFixtures.h"
#include "ImageFixtures.h"
#include "settings/Option.h"

#include <QFile>
#include <QTest>

using namespace viewtest;

class PrepareTest : public ViewTest {
protected:
    // Runs the preparation a forward turn would start, without waiting for its timer.
    void PrepareForward() { m_view->OnTimer(1); }
    void PrepareBackward() { m_view->OnTimer(2); }
};

TEST_F(PrepareTest, OnePageForwardPreparesTheNextEntryUntilTheLastPage)
{
    OpenBook(10);
    for (std::size_t i = 0; i < 9; ++i) {
        m_view->m_itCurPage = i;
        PrepareForward();
        EXPECT_EQ(m_view->m_strPrepared, m_pages[i + 1]) << "at index " << i;
        EXPECT_EQ(m_view->m_pNextPage1->GetWidth(), NumberedPicture(int(i + 1)).width);
    }
    m_view->m_itCurPage = 9;
    PrepareForward();
    EXPECT_TRUE(m_view->m_strPrepared.empty());
}

TEST_F(PrepareTest, OnePageBackwardPreparesNothingBeforeTheFirstPage)
{
    OpenBook(3);
    m_view->m_itCurPage = 2;
    PrepareBackward();
    EXPECT_EQ(m_view->m_strPrepared, m_pages[1]);
    m_view->m_itCurPage = 0;
    PrepareBackward();
    EXPECT_TRUE(m_view->m_strPrepared.empty());
}

TEST_F(PrepareTest, TwoPageViewPreparesTheNextFullSpreadOnly)
{
    g_option.bView2Page = 1;
    OpenBook(9);
    m_view->m_itCurPage = 2;
    PrepareForward();
    EXPECT_EQ(m_view->m_strPrepared, m_pages[4]);
    EXPECT_EQ(m_view->m_pNextPage1->GetWidth(), NumberedPicture(4).width);
    EXPECT_EQ(m_view->m_pNextPage2->GetWidth(), NumberedPicture(5).width);
    m_view->m_itCurPage = 6; // the next spread would need index 9
    PrepareForward();
    EXPECT_TRUE(m_view->m_strPrepared.empty());
}

TEST_F(PrepareTest, TwoPageBackwardPreparesThePairBeforeAndNothingFromIndexTwo)
{
    g_option.bView2Page = 1;
    OpenBook(9);
    m_view->m_itCurPage = 4;
    PrepareBackward();
    EXPECT_EQ(m_view->m_strPrepared, m_pages[2]);
    EXPECT_EQ(m_view->m_pNextPage2->GetWidth(), NumberedPicture(3).width);
    m_view->m_itCurPage = 2;
    PrepareBackward();
    EXPECT_TRUE(m_view->m_strPrepared.empty());
}

TEST_F(PrepareTest, PreparedSurfacesAreTakenByPointerExchange)
{
    OpenBook(4);
    PrepareForward();
    CDib* preparedPage = m_view->m_pNextPage1;
    CDib* preparedScreen = m_view->m_pNextScreen;
    CDib* shownPage = m_view->m_pPage1;
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_pPage1, preparedPage);
    EXPECT_EQ(m_view->m_pScreen, preparedScreen);
    EXPECT_EQ(m_view->m_pNextPage1, shownPage);
    EXPECT_EQ(CurrentWidth(), NumberedPicture(1).width);
}

TEST_F(PrepareTest, TwoPageTurnTakesBothPreparedPages)
{
    g_option.bView2Page = 1;
    OpenBook(6);
    PrepareForward();
    CDib* preparedSecond = m_view->m_pNextPage2;
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_pPage2, preparedSecond);
    EXPECT_EQ(m_view->m_pPage2->GetWidth(), NumberedPicture(3).width);
}

TEST_F(PrepareTest, PreparedCompositionIsNotTakenAfterAResize)
{
    OpenBook(4);
    PrepareForward();
    CDib* preparedPage = m_view->m_pNextPage1;
    CDib* preparedScreen = m_view->m_pNextScreen;
    m_view->resize(260, 180);
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_EQ(m_view->m_pPage1, preparedPage);
    EXPECT_NE(m_view->m_pScreen, preparedScreen);
    EXPECT_EQ(m_view->m_pScreen->GetWidth(), 260);
    EXPECT_EQ(m_view->m_pScreen->GetHeight(), 180);
}

TEST_F(PrepareTest, TakenPicturesAreNotShownAgainByARedraw)
{
    OpenBook(4);
    PrepareForward();
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_TRUE(m_view->m_strPrepared.empty());
    m_view->ShowCurrentPage(); // F5
    EXPECT_EQ(CurrentWidth(), NumberedPicture(1).width);
}

TEST_F(PrepareTest, OpeningAnotherBookForgetsWhatWasPrepared)
{
    // PCO entries are named "0000", "0001", ... in every book.
    const std::string first = TempPath("first.pco");
    const std::string second = TempPath("second.pco");
    ASSERT_TRUE(fixtures::WriteFile(first, fixtures::PcoBook("a", {JpegPage(NumberedPicture(0)), JpegPage(NumberedPicture(1))})));
    ASSERT_TRUE(fixtures::WriteFile(second, fixtures::PcoBook("b", {JpegPage(PagePicture{90, 100, Qt::red})})));
    m_view->OpenPco(first);
    m_view->ShowLastPage();
    PrepareBackward();
    ASSERT_EQ(m_view->m_strPrepared, "0000");
    m_view->OpenPco(second);
    EXPECT_EQ(CurrentPage(), "0000");
    EXPECT_EQ(CurrentWidth(), 90);
}

TEST_F(PrepareTest, DrawingSwitchesAndTheOptionsDialogForgetWhatWasPrepared)
{
    OpenBook(4);
    using Handler = void (CTavimoView::*)();
    for (Handler handler : {&CTavimoView::OnInterpolation, &CTavimoView::OnSharpen, &CTavimoView::OnZoomToggle,
                            &CTavimoView::OnRotate, &CTavimoView::OnView2Page, &CTavimoView::OnViewOnePage,
                            &CTavimoView::OnOptionsChanged}) {
        m_view->m_itCurPage = 0;
        PrepareForward();
        ASSERT_FALSE(m_view->m_strPrepared.empty());
        (m_view.get()->*handler)();
        EXPECT_TRUE(m_view->m_strPrepared.empty());
    }
}

TEST_F(PrepareTest, PreparationFailureIsSilentAndForgetsTheKey)
{
    OpenBook(3);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(m_pages[1])));
    PrepareForward();
    EXPECT_TRUE(m_view->m_strPrepared.empty());
    EXPECT_TRUE(m_messages->calls.empty());
}

TEST_F(PrepareTest, UnknownTimerOnlyClearsTheBusyFlag)
{
    OpenBook(3);
    m_view->m_bBusy = true;
    m_view->OnTimer(7);
    EXPECT_FALSE(m_view->m_bBusy);
    EXPECT_TRUE(m_view->m_strPrepared.empty());
}

TEST_F(PrepareTest, TurnWithCachingOnPreparesTheFollowingPageInItsTick)
{
    g_option.bCacheNextFile = 1;
    OpenBook(4);
    EXPECT_TRUE(WaitUntil([&] { return m_view->m_strPrepared == m_pages[1]; }));
    EXPECT_FALSE(m_view->m_bBusy);
    ASSERT_TRUE(m_view->TurnPage(true));
    EXPECT_TRUE(WaitUntil([&] { return m_view->m_strPrepared == m_pages[2]; }));
    ASSERT_TRUE(m_view->TurnPage(true));
    ASSERT_TRUE(WaitUntil([&] { return !m_view->m_bBusy; }));
    ASSERT_TRUE(m_view->TurnPage(false));
    EXPECT_EQ(m_view->m_itCurPage, 1u);
    EXPECT_TRUE(WaitUntil([&] { return m_view->m_strPrepared == m_pages[0]; }));
}
