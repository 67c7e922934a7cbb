// GDocker: the snapping rules at the work-area edges and the drag's start and end.
#include "widgets/Docker.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

struct SnapCase {
    const char* name;
    QRect area;
    QRect tracked;
    QPoint expected;
};

void PrintTo(const SnapCase& c, std::ostream* os)
{
    *os << c.name;
}

class DockerSnap : public ::testing::TestWithParam<SnapCase> {};

TEST_P(DockerSnap, PlacesTheWindow)
{
    const SnapCase& c = GetParam();
    EXPECT_EQ(GDocker::SnapPosition(c.tracked, c.area, 15), c.expected);
}

const QRect kArea(0, 0, 800, 560); // a task bar of 40 pixels below

INSTANTIATE_TEST_SUITE_P(
    Edges, DockerSnap,
    ::testing::Values(SnapCase{"left_14_snaps", kArea, QRect(14, 200, 100, 50), QPoint(0, 200)},
                      SnapCase{"left_15_stays", kArea, QRect(15, 200, 100, 50), QPoint(15, 200)},
                      SnapCase{"left_minus14_snaps", kArea, QRect(-14, 200, 100, 50), QPoint(0, 200)},
                      SnapCase{"top_14_snaps", kArea, QRect(300, 14, 100, 50), QPoint(300, 0)},
                      SnapCase{"top_15_stays", kArea, QRect(300, 15, 100, 50), QPoint(300, 15)},
                      SnapCase{"right_14_snaps", kArea, QRect(686, 200, 100, 50), QPoint(700, 200)},
                      SnapCase{"right_15_stays", kArea, QRect(685, 200, 100, 50), QPoint(685, 200)},
                      SnapCase{"bottom_snaps_to_taskbar_top", kArea, QRect(300, 500, 100, 50), QPoint(300, 510)},
                      SnapCase{"bottom_15_stays", kArea, QRect(300, 495, 100, 50), QPoint(300, 495)},
                      SnapCase{"corner_snaps_both", kArea, QRect(5, 500, 100, 50), QPoint(0, 510)},
                      // Left is tried first, then right: in a narrow area right wins; so does bottom over top.
                      SnapCase{"right_wins_over_left", QRect(0, 0, 20, 600), QRect(3, 300, 10, 10), QPoint(10, 300)},
                      SnapCase{"bottom_wins_over_top", QRect(0, 0, 600, 20), QRect(300, 2, 10, 10), QPoint(300, 10)},
                      SnapCase{"measured_from_area_origin", QRect(100, 50, 700, 500), QRect(110, 300, 50, 50), QPoint(100, 300)},
                      SnapCase{"left_of_offset_area_stays", QRect(100, 50, 700, 500), QRect(10, 300, 50, 50), QPoint(10, 300)}),
    [](const ::testing::TestParamInfo<SnapCase>& info) { return std::string(info.param.name); });

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

TEST_F(DockerDrag, WindowFollowsTheMouseOnlyBetweenPressAndRelease)
{
    const QPoint start = m_window.pos();
    m_docker.OnMouseMove(QPoint(300, 300));
    EXPECT_EQ(m_window.pos(), start);
    EXPECT_FALSE(m_docker.IsDragging());

    m_docker.OnButtonDown(QPoint(500, 500));
    EXPECT_TRUE(m_docker.IsDragging());
    m_docker.OnMouseMove(QPoint(530, 480));
    EXPECT_EQ(m_window.pos(), start + QPoint(30, -20));
    m_docker.OnMouseMove(QPoint(540, 490));
    EXPECT_EQ(m_window.pos(), start + QPoint(40, -10));

    m_docker.OnButtonUp();
    EXPECT_FALSE(m_docker.IsDragging());
    m_docker.OnMouseMove(QPoint(600, 550));
    EXPECT_EQ(m_window.pos(), start + QPoint(40, -10));
}

TEST_F(DockerDrag, SnappedWindowStaysUntilMousePullsBeyondDistanceThenJumpsBack)
{
    m_window.move(m_area.left() + 40, m_area.top() + 100);
    m_docker.OnButtonDown(QPoint(100, 100));
    for (const auto& [mouseX, windowX] : {std::pair{70, 0}, std::pair{74, 0}, std::pair{75, 15}}) {
        m_docker.OnMouseMove(QPoint(mouseX, 100)); // tracked left edge 10, 14, then 15 from the edge
        EXPECT_EQ(m_window.x(), m_area.left() + windowX) << mouseX;
    }
}

} // namespace
