// GDocker: the snapping rules at the work-area edges and the drag's start and end.
#include "widgets/Docker.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Docker, SnapsWithinFifteenPixelsOfAnEdgeOfTheWorkAreaAndMovesOnlyBetweenPressAndRelease) {
    const QRect area(0, 0, 800, 560), offset(100, 50, 700, 500); // a task bar of 40 pixels below
    // Left is tried first, then right: in a narrow area right wins; so does bottom over top.
    const std::tuple<const char*, QRect, QRect, QPoint> rows[] = {
        {"left_14_snaps", area, {14, 200, 100, 50}, {0, 200}},
        {"left_15_stays", area, {15, 200, 100, 50}, {15, 200}},
        {"left_minus14_snaps", area, {-14, 200, 100, 50}, {0, 200}},
        {"top_14_snaps", area, {300, 14, 100, 50}, {300, 0}},
        {"top_15_stays", area, {300, 15, 100, 50}, {300, 15}},
        {"right_14_snaps", area, {686, 200, 100, 50}, {700, 200}},
        {"right_15_stays", area, {685, 200, 100, 50}, {685, 200}},
        {"bottom_snaps_to_taskbar", area, {300, 500, 100, 50}, {300, 510}},
        {"bottom_15_stays", area, {300, 495, 100, 50}, {300, 495}},
        {"corner_snaps_both", area, {5, 500, 100, 50}, {0, 510}},
        {"right_wins_over_left", {0, 0, 20, 600}, {3, 300, 10, 10}, {10, 300}},
        {"bottom_wins_over_top", {0, 0, 600, 20}, {300, 2, 10, 10}, {300, 10}},
        {"measured_from_area_origin", offset, {110, 300, 50, 50}, {100, 300}},
        {"left_of_offset_area_stays", offset, {10, 300, 50, 50}, {10, 300}}};
    for (const auto& [fault, workArea, tracked, expected] : rows)
        EXPECT_EQ(GDocker::SnapPosition(tracked, workArea, 15), expected) << fault;
    QWidget window;
    window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    window.setGeometry(QRect(QGuiApplication::primaryScreen()->availableGeometry().center(), QSize(120, 80)));
    window.show();
    GDocker docker;
    docker.Attach(&window);
    const QPoint start = window.pos();
    docker.OnMouseMove(QPoint(300, 300));
    EXPECT_FALSE(docker.IsDragging() || window.pos() != start) << "moved before a press";
    docker.OnButtonDown(QPoint(500, 500));
    docker.OnMouseMove(QPoint(530, 480));
    EXPECT_TRUE(docker.IsDragging() && window.pos() == start + QPoint(30, -20));
    docker.OnButtonUp();
    docker.OnMouseMove(QPoint(600, 550));
    EXPECT_FALSE(docker.IsDragging() || window.pos() != start + QPoint(30, -20)) << "moved after the release";
}
