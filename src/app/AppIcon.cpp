// The application's icon: an open book with a page number, on a 32x32 grid.
#include "app/AppIcon.h"

#include "app/PaintedIconEngine.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void DrawOpenBook(QPainter& p, bool disabled) {
    const QColor cover = disabled ? QColor(140, 140, 140) : QColor(40, 70, 130);
    const QColor paper = disabled ? QColor(235, 235, 235) : QColor(250, 246, 230);
    const QColor ink = disabled ? QColor(120, 120, 120) : QColor(30, 30, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(1, 5, 30, 24), 3, 3);
    p.setPen(QPen(cover.darker(130), 0.8));
    p.setBrush(paper);
    QPainterPath left(QPointF(16, 8));
    left.cubicTo(QPointF(12, 5.5), QPointF(7, 5.5), QPointF(3.5, 7));
    left.lineTo(QPointF(3.5, 26));
    left.cubicTo(QPointF(7, 24.5), QPointF(12, 24.5), QPointF(16, 27));
    left.closeSubpath();
    p.drawPath(left);
    QPainterPath right(QPointF(16, 8));
    right.cubicTo(QPointF(20, 5.5), QPointF(25, 5.5), QPointF(28.5, 7));
    right.lineTo(QPointF(28.5, 26));
    right.cubicTo(QPointF(25, 24.5), QPointF(20, 24.5), QPointF(16, 27));
    right.closeSubpath();
    p.drawPath(right);
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 4; ++line) {
        const qreal y = 11 + line * 3.5;
        p.drawLine(QPointF(6, y), QPointF(13.5, y));
    }
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(19.5, 11.5), QPointF(24.5, 11.5), QPointF(24.5, 16.5),
                              QPointF(19.5, 16.5), QPointF(19.5, 21.5), QPointF(24.5, 21.5)}));
}

} // namespace

QIcon AppIcon() {
    return QIcon(new CPaintedIconEngine(QSize(32, 32), DrawOpenBook));
}
