// GDocker: drag-by-body with magnetic work-area edges. The tracked rectangle follows the
// mouse exactly; the window is placed at its snapped position, so a snapped window stays
// at the edge until the mouse pulls it more than the snap distance away.
#include "Docker.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

GDocker::GDocker() = default;

GDocker::~GDocker() = default;

void GDocker::Attach(QWidget* window)
{
    m_pWnd = window;
}

void GDocker::OnButtonDown(const QPoint& cursor)
{
    if (!m_pWnd)
        return;
    m_ptLast = cursor;
    m_bDragging = true;
    m_rcTracked = m_pWnd->frameGeometry();
    // Keep receiving moves while the cursor is outside the window.
    m_pWnd->grabMouse();
}

void GDocker::OnMouseMove(const QPoint& cursor)
{
    if (!m_bDragging || !m_pWnd)
        return;
    m_rcTracked.translate(cursor - m_ptLast);
    PlaceWindow();
    m_ptLast = cursor;
}

void GDocker::OnButtonUp()
{
    if (!m_bDragging)
        return;
    m_bDragging = false;
    if (m_pWnd)
        m_pWnd->releaseMouse();
}

QPoint GDocker::SnapPosition(const QRect& tracked, const QRect& workArea, int distance)
{
    // Right and bottom are exclusive here, as the window system's rectangles are.
    const int left = workArea.x();
    const int top = workArea.y();
    const int right = workArea.x() + workArea.width();
    const int bottom = workArea.y() + workArea.height();
    const int w = tracked.width();
    const int h = tracked.height();
    int x = tracked.x();
    int y = tracked.y();
    if (std::abs(x - left) < distance)
        x = left;
    if (std::abs(y - top) < distance)
        y = top;
    if (std::abs(x + w - right) < distance)
        x = right - w;
    if (std::abs(y + h - bottom) < distance)
        y = bottom - h;
    return {x, y};
}

void GDocker::PlaceWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect workArea = screen ? screen->availableGeometry() : m_rcTracked;
    m_pWnd->move(SnapPosition(m_rcTracked, workArea, m_nSnapDistance));
    m_pWnd->update();
}
