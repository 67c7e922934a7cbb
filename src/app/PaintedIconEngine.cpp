// CPaintedIconEngine: scales the grid drawing onto the requested rectangle.
#include "app/PaintedIconEngine.h"

#include <QPainter>
#include <QPixmap>

CPaintedIconEngine::CPaintedIconEngine(QSize grid, Drawing drawing)
    : m_grid(grid), m_drawing(std::move(drawing)) {}

void CPaintedIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / qreal(m_grid.width()), rect.height() / qreal(m_grid.height()));
    m_drawing(*painter, mode == QIcon::Disabled);
    painter->restore();
}

QPixmap CPaintedIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
}

QIconEngine* CPaintedIconEngine::clone() const {
    return new CPaintedIconEngine(m_grid, m_drawing);
}
