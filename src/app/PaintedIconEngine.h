// CPaintedIconEngine: an icon drawn with QPainter on a small logical grid at whatever pixel
// size is asked for, so that it stays sharp on screens of any pixel density.
#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QSize>
#include <functional>

class CPaintedIconEngine : public QIconEngine {
public:
    // Draws the picture in grid coordinates; `disabled` asks for the greyed look.
    using Drawing = std::function<void(QPainter& painter, bool disabled)>;

    CPaintedIconEngine(QSize grid, Drawing drawing);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    // Starts from a transparent pixmap; the base class leaves its pixels undefined.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;

private:
    QSize m_grid;
    Drawing m_drawing;
};
