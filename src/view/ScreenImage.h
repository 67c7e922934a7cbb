// CScreenImage: the window-format (32-bit) copy of a bottom-up BGR surface that painting
// hands to Qt, kept across paints so that its memory is allocated once.
#pragma once

#include <QImage>

class CDib;
class QPainter;

class CScreenImage {
public:
    // Paints the top-left `width` x `height` device pixels of `surface` (clipped to it)
    // upright at the painter's origin, one surface pixel to one device pixel.
    void Paint(QPainter& painter, const CDib& surface, int width, int height, qreal devicePixelRatio);
    // Paints the device pixels `area` of `surface` (clipped to it) at their own place.
    void Paint(QPainter& painter, const CDib& surface, const QRect& area, qreal devicePixelRatio);

private:
    QImage m_image; // grows to the largest part painted, never shrinks
};
