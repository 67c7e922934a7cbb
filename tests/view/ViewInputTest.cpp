// Keys, wheel and mouse buttons over the view.
#include "ViewTestSupport.h"

#include "settings/Option.h"
#include "view/CommandIds.h"

#include <QTest>
#include <QWheelEvent>

using namespace viewtest;

class InputTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        OpenBook(6);
        m_view->m_itCurPage = 2;
        m_view->ShowCurrentPage();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_view.get(), key, modifiers);
    }
    void Wheel(int delta)
    {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(m_view.get(), &event);
    }
};

TEST_F(InputTest, TurningKeysMoveForwardAndBackward)
{
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_PageDown, Qt::Key_Down, Qt::Key_Insert, Qt::Key_Delete}) {
        m_view->m_itCurPage = 2;
        Key(key);
        EXPECT_EQ(m_view->m_itCurPage, 3u) << "key " << key;
    }
    for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_Up}) {
        m_view->m_itCurPage = 2;
        Key(key);
        EXPECT_EQ(m_view->m_itCurPage, 1u) << "key " << key;
    }
}

TEST_F(InputTest, LeftAndRightArrowsDoNothing)
{
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_view->m_itCurPage, 2u);
}

TEST_F(InputTest, FilterAndFullscreenKeysPostTheirCommandsToTheFrame)
{
    Key(Qt::Key_S);
    Key(Qt::Key_I);
    Key(Qt::Key_Z);
    Key(Qt::Key_Escape);
    Key(Qt::Key_F);
    EXPECT_EQ(m_frame.posted,
              (std::vector<int>{ID_SHARPEN, ID_INTERPOLATION, ID_ZOOM_TOGGLE, ID_FULLSCREEN, ID_FULLSCREEN}));
    // Posting leaves the switches to the frame's check of the enabled state.
    EXPECT_EQ(g_option.bSharpen, 0);
}

TEST_F(InputTest, GraveAccentPostsToolbarThenStatusBar)
{
    Key(Qt::Key_QuoteLeft);
    EXPECT_EQ(m_frame.posted, (std::vector<int>{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}));
}

TEST_F(InputTest, TabReachesTheFlipInsteadOfMovingFocus)
{
    g_option.bView2Page = 1;
    m_view->ShowCurrentPage();
    Key(Qt::Key_Tab);
    EXPECT_EQ(g_option.bFlipPage, 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(g_option.bFlipPage, 0);
}

TEST_F(InputTest, TabDoesNothingInOnePageView)
{
    Key(Qt::Key_Tab);
    EXPECT_EQ(g_option.bFlipPage, 0);
}

TEST_F(InputTest, TwoTogglesTwoPageViewAndOneOnlyLeavesIt)
{
    Key(Qt::Key_1);
    EXPECT_EQ(g_option.bView2Page, 0);
    Key(Qt::Key_2);
    EXPECT_EQ(g_option.bView2Page, 1);
    Key(Qt::Key_2);
    EXPECT_EQ(g_option.bView2Page, 0);
    Key(Qt::Key_2);
    Key(Qt::Key_1);
    EXPECT_EQ(g_option.bView2Page, 0);
}

TEST_F(InputTest, HomeEndAndEnterReachTheirOperations)
{
    Key(Qt::Key_End);
    EXPECT_EQ(m_view->m_itCurPage, 5u);
    Key(Qt::Key_Home);
    EXPECT_EQ(m_view->m_itCurPage, 0u);
    bool asked = false;
    m_view->m_dialogs.choosePage = [&](const std::vector<std::string>&, std::size_t) {
        asked = true;
        return std::optional<std::size_t>(4);
    };
    Key(Qt::Key_Return);
    EXPECT_TRUE(asked);
    EXPECT_EQ(m_view->m_itCurPage, 4u);
}

TEST_F(InputTest, F5RedrawsTheCurrentPage)
{
    const std::size_t titles = m_frame.titles.size();
    Key(Qt::Key_F5);
    EXPECT_EQ(m_frame.titles.size(), titles + 1);
    EXPECT_EQ(m_view->m_itCurPage, 2u);
}

TEST_F(InputTest, ClickInTheUpperHalfTurnsBackAndFromTheMiddleRowDownForward)
{
    m_view->resize(200, 150);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 74));
    EXPECT_EQ(m_view->m_itCurPage, 1u);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 75));
    EXPECT_EQ(m_view->m_itCurPage, 2u);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(199, 149));
    EXPECT_EQ(m_view->m_itCurPage, 3u);
}

TEST_F(InputTest, ClickZonesAreLeftAndRightHalvesWithRotationOn)
{
    g_option.bRotate = 1;
    m_view->resize(200, 150);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(99, 140));
    EXPECT_EQ(m_view->m_itCurPage, 1u);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 5));
    EXPECT_EQ(m_view->m_itCurPage, 2u);
}

TEST_F(InputTest, ClickWithNoPageCurrentDoesNothing)
{
    m_view->m_itCurPage = m_view->m_pageList.size();
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 140));
    EXPECT_FALSE(m_view->HasCurrentPage());
    EXPECT_TRUE(m_messages->calls.empty());
}

TEST_F(InputTest, WheelAwayTurnsBackAndTowardsTheReaderForward)
{
    Wheel(120);
    EXPECT_EQ(m_view->m_itCurPage, 1u);
    Wheel(-120);
    EXPECT_EQ(m_view->m_itCurPage, 2u);
    Wheel(-15); // the size of a notch does not matter
    EXPECT_EQ(m_view->m_itCurPage, 3u);
}

TEST_F(InputTest, DoubleClickTogglesTheToolbarAndMiddleButtonFullscreen)
{
    QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(m_frame.posted, (std::vector<int>{ID_VIEW_TOOLBAR}));
    QTest::mousePress(m_view.get(), Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(m_view.get(), Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(m_frame.posted, (std::vector<int>{ID_VIEW_TOOLBAR, ID_FULLSCREEN}));
}
