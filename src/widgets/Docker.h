// GDocker: lets the user drag a borderless window by its body and snaps it to the edges
// of the primary screen's work area when it comes within the snap distance.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

class GDocker {
public:
    GDocker();
    virtual ~GDocker();
    GDocker(const GDocker&) = delete;
    GDocker& operator=(const GDocker&) = delete;

    void Attach(QWidget* window);
    // The owning window forwards its left-button and mouse-move events, cursor in screen
    // coordinates.
    void OnButtonDown(const QPoint& cursor);
    void OnMouseMove(const QPoint& cursor);
    void OnButtonUp();

    bool IsDragging() const { return m_bDragging; }
    int SnapDistance() const { return m_nSnapDistance; }

    // Where a window following the mouse to `tracked` is put: flush against each edge of
    // `workArea` it is closer to than `distance`; right wins over left, bottom over top.
    static QPoint SnapPosition(const QRect& tracked, const QRect& workArea, int distance);

private:
    void PlaceWindow();

    bool m_bDragging = false;
    QPoint m_ptLast;
    QRect m_rcTracked;
    QWidget* m_pWnd = nullptr;
    int m_nSnapDistance = 15;
};
