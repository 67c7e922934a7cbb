// GDocker: the snapping rules at the work-area edges and the drag's start and end.
#include "widgets/Docker.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

const QRect kWorkArea(0, 0, 800, 560); // a task bar of 40 pixels below

struct SnapCase {
    const char* name;
    QRect tracked;
    QPoint expected;
};

void PrintTo(const SnapCase& c, std::ostream* os)
{
    *os << c.name;
}

class DockerSnap : public ::testing::TestWithParam<SnapCase> {};

TEST_P(DockerSnap, PlacesWindowAsRulesSay)
{
    const SnapCase& c = GetParam();
    EXPECT_EQ(GDocker::SnapPosition(c.tracked, kWorkArea, 15), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DockerSnap,
    ::testing::Values(SnapCase{"left_14_snaps", QRect(14, 200, 100, 50), QPoint(0, 200)},
                      SnapCase{"left_15_stays", QRect(15, 200, 100, 50), QPoint(15, 200)},
                      SnapCase{"left_minus14_snaps", QRect(-14, 200, 100, 50), QPoint(0, 200)},
                      SnapCase{"top_14_snaps", QRect(300, 14, 100, 50), QPoint(300, 0)},
                      SnapCase{"top_15_stays", QRect(300, 15, 100, 50), QPoint(300, 15)},
                      SnapCase{"right_14_snaps", QRect(800 - 100 - 14, 200, 100, 50), QPoint(700, 200)},
                      SnapCase{"right_15_stays", QRect(800 - 100 - 15, 200, 100, 50), QPoint(685, 200)},
                      SnapCase{"bottom_snaps_to_taskbar_top", QRect(300, 560 - 50 - 10, 100, 50), QPoint(300, 510)},
                      SnapCase{"bottom_15_stays", QRect(300, 560 - 50 - 15, 100, 50), QPoint(300, 495)},
                      SnapCase{"corner_snaps_both", QRect(5, 550 - 50, 100, 50), QPoint(0, 510)}),
    [](const ::testing::TestParamInfo<SnapCase>& info) { return std::string(info.param.name); });

TEST(DockerSnapOrder, RightWinsOverLeftForNarrowWindowNearBothEdges)
{
    const QRect narrowArea(0, 0, 20, 600);
    // Left first puts x at 0; then its right side (10) is within 15 of 20, so right wins.
    EXPECT_EQ(GDocker::SnapPosition(QRect(3, 300, 10, 10), narrowArea, 15), QPoint(10, 300));
}

TEST(DockerSnapOrder, BottomWinsOverTop)
{
    const QRect shortArea(0, 0, 600, 20);
    EXPECT_EQ(GDocker::SnapPosition(QRect(300, 2, 10, 10), shortArea, 15), QPoint(300, 10));
}

TEST(DockerSnapOrder, SnapTestsAreAgainstWorkAreaOrigin)
{
    const QRect offsetArea(100, 50, 700, 500);
    EXPECT_EQ(GDocker::SnapPosition(QRect(110, 300, 50, 50), offsetArea, 15), QPoint(100, 300));
    EXPECT_EQ(GDocker::SnapPosition(QRect(10, 300, 50, 50), offsetArea, 15), QPoint(10, 300));
}

class DockerDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_area = QGuiApplication::primaryScreen()->availableGeometry();
        m_window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        m_window.resize(120, 80);
        m_window.move(m_area.center());
        m_window.show();
        m_docker.Attach(&m_window);
    }
    void TearDown() override { m_docker.OnButtonUp(); }

    QRect m_area;
    QWidget m_window;
    GDocker m_docker;
};

TEST_F(DockerDrag, WindowFollowsMouseAwayFromEdges)
{
    const QPoint start = m_window.pos();
    m_docker.OnButtonDown(QPoint(500, 500));
    m_docker.OnMouseMove(QPoint(530, 480));
    EXPECT_EQ(m_window.pos(), start + QPoint(30, -20));
    m_docker.OnMouseMove(QPoint(540, 490));
    EXPECT_EQ(m_window.pos(), start + QPoint(40, -10));
}

TEST_F(DockerDrag, SnappedWindowStaysUntilMousePullsBeyondDistanceThenJumpsBack)
{
    m_window.move(m_area.left() + 40, m_area.top() + 100);
    m_docker.OnButtonDown(QPoint(100, 100));
    m_docker.OnMouseMove(QPoint(70, 100)); // tracked left edge 10 from the edge
    EXPECT_EQ(m_window.x(), m_area.left());
    m_docker.OnMouseMove(QPoint(74, 100)); // 14: still snapped
    EXPECT_EQ(m_window.x(), m_area.left());
    m_docker.OnMouseMove(QPoint(75, 100)); // 15: back under the mouse
    EXPECT_EQ(m_window.x(), m_area.left() + 15);
}

TEST_F(DockerDrag, MovesWithoutPressAreIgnored)
{
    const QPoint start = m_window.pos();
    m_docker.OnMouseMove(QPoint(10, 10));
    m_docker.OnMouseMove(QPoint(300, 300));
    EXPECT_EQ(m_window.pos(), start);
    EXPECT_FALSE(m_docker.IsDragging());
}

TEST_F(DockerDrag, ReleaseEndsDrag)
{
    m_docker.OnButtonDown(QPoint(200, 200));
    EXPECT_TRUE(m_docker.IsDragging());
    m_docker.OnMouseMove(QPoint(210, 200));
    const QPoint afterDrag = m_window.pos();
    m_docker.OnButtonUp();
    EXPECT_FALSE(m_docker.IsDragging());
    m_docker.OnMouseMove(QPoint(260, 250));
    EXPECT_EQ(m_window.pos(), afterDrag);
}

} // namespace
