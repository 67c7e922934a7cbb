// The toolbar buttons' pictures: vector drawings on a 17x16 grid.
#include "app/ToolbarIcons.h"

#include "app/PaintedIconEngine.h"
#include "view/CommandIds.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void Triangle(QPainter& p, qreal tipX, qreal baseX) {
    p.drawPolygon(QPolygonF({QPointF(tipX, 8), QPointF(baseX, 3.5), QPointF(baseX, 12.5)}));
}

void Window(QPainter& p) {
    p.drawRect(QRectF(1.5, 2.5, 14, 11));
}

void DrawGlyph(QPainter& p, int id, const QColor& ink, const QColor& fill) {
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    switch (id) {
    case ID_OPEN_FILE:
        p.drawPolygon(QPolygonF({QPointF(3.5, 1.5), QPointF(10.5, 1.5), QPointF(13.5, 4.5),
                                 QPointF(13.5, 14.5), QPointF(3.5, 14.5)}));
        p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
        p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
        break;
    case ID_OPEN_FOLDER:
        p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6.5, 3.5), QPointF(8, 5), QPointF(15.5, 5),
                                 QPointF(15.5, 13.5), QPointF(1.5, 13.5)}));
        p.drawLine(QPointF(1.5, 7), QPointF(15.5, 7));
        break;
    case ID_OPEN_ARCHIVE:
        p.drawRect(QRectF(2.5, 2.5, 12, 12));
        for (qreal y = 3.5; y < 12; y += 2)
            p.drawLine(QPointF(8, y), QPointF(9.5, y));
        p.drawRect(QRectF(7.5, 11, 2.5, 2.5));
        break;
    case ID_FULLSCREEN:
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(1.5, 5.5), QPointF(1.5, 1.5), QPointF(5.5, 1.5)}));
        p.drawPolyline(QPolygonF({QPointF(11.5, 1.5), QPointF(15.5, 1.5), QPointF(15.5, 5.5)}));
        p.drawPolyline(QPolygonF({QPointF(15.5, 10.5), QPointF(15.5, 14.5), QPointF(11.5, 14.5)}));
        p.drawPolyline(QPolygonF({QPointF(5.5, 14.5), QPointF(1.5, 14.5), QPointF(1.5, 10.5)}));
        p.drawRect(QRectF(5, 5, 7, 6));
        break;
    case ID_OPTION:
        for (int i = 0; i < 3; ++i) {
            const qreal y = 3.5 + i * 4.5;
            const qreal knob = i == 1 ? 10 : 5;
            p.drawLine(QPointF(1.5, y), QPointF(15.5, y));
            p.drawRect(QRectF(knob, y - 1.5, 3, 3));
        }
        break;
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
        p.setBrush(Qt::NoBrush);
        Window(p);
        p.setBrush(ink);
        p.drawRect(id == ID_VIEW_TOOLBAR ? QRectF(1.5, 2.5, 14, 3) : QRectF(1.5, 10.5, 14, 3));
        break;
    case ID_SELECT_PAGE:
        for (int i = 0; i < 4; ++i) {
            const qreal y = 2.5 + i * 3.5;
            p.drawRect(QRectF(1.5, y - 1, 2, 2));
            p.drawLine(QPointF(5.5, y), QPointF(15.5, y));
        }
        break;
    case ID_PREV10:
        p.drawLine(QPointF(1.5, 3.5), QPointF(1.5, 12.5));
        Triangle(p, 2.5, 9);
        Triangle(p, 8.5, 15);
        break;
    case ID_PAGE_PREV:
        Triangle(p, 4, 12);
        break;
    case ID_PAGE_NEXT:
        Triangle(p, 13, 5);
        break;
    case ID_NEXT10:
        p.drawLine(QPointF(15.5, 3.5), QPointF(15.5, 12.5));
        Triangle(p, 14.5, 8);
        Triangle(p, 8.5, 2);
        break;
    case ID_VIEW_2PAGE:
        p.drawRect(QRectF(1.5, 2.5, 6.5, 11));
        p.drawRect(QRectF(9, 2.5, 6.5, 11));
        break;
    case ID_FLIP:
        p.setBrush(ink);
        p.drawLine(QPointF(3, 5.5), QPointF(14, 5.5));
        p.drawPolygon(QPolygonF({QPointF(15.5, 5.5), QPointF(12, 3), QPointF(12, 8)}));
        p.drawLine(QPointF(3, 11), QPointF(14, 11));
        p.drawPolygon(QPolygonF({QPointF(1.5, 11), QPointF(5, 8.5), QPointF(5, 13.5)}));
        break;
    case ID_ZOOM_TOGGLE:
        p.drawEllipse(QPointF(7, 7), 5, 5);
        p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.8, 10.8), QPointF(15, 15));
        break;
    case ID_INTERPOLATION: {
        p.setBrush(Qt::NoBrush);
        QPainterPath wave(QPointF(1.5, 12));
        wave.cubicTo(QPointF(6, 12), QPointF(5, 3), QPointF(8.5, 3));
        wave.cubicTo(QPointF(12, 3), QPointF(11, 12), QPointF(15.5, 12));
        p.drawPath(wave);
        break;
    }
    case ID_SHARPEN:
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF(
            {QPointF(1.5, 13), QPointF(4.5, 13), QPointF(8.5, 2.5), QPointF(12.5, 13), QPointF(15.5, 13)}));
        break;
    case ID_ROTATE: {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 11, 11), 90 * 16, 270 * 16);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({QPointF(8.5, 0.8), QPointF(12, 3), QPointF(8.5, 5.2)}));
        break;
    }
    case ID_APP_ABOUT:
        p.drawEllipse(QPointF(8.5, 8), 6.5, 6.5);
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(8.5, 4.8));
        p.drawLine(QPointF(8.5, 7.5), QPointF(8.5, 11.5));
        break;
    case ID_APP_EXIT:
        p.drawRect(QRectF(2.5, 1.5, 8, 13));
        p.setBrush(ink);
        p.drawLine(QPointF(8, 8), QPointF(15.5, 8));
        p.drawPolygon(QPolygonF({QPointF(16, 8), QPointF(13, 5.5), QPointF(13, 10.5)}));
        break;
    default:
        break;
    }
}

} // namespace

QIcon ToolbarIcon(int commandId) {
    return QIcon(new CPaintedIconEngine(kToolbarIconSize, [commandId](QPainter& painter, bool disabled) {
        const QColor ink = disabled ? QColor(150, 150, 150) : QColor(30, 50, 90);
        const QColor fill = disabled ? QColor(225, 225, 225) : QColor(200, 220, 245);
        DrawGlyph(painter, commandId, ink, fill);
    }));
}
