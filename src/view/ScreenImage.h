// CScreenImage: paints a bottom-up BGR surface into a window. Where the painter draws straight
// into a 32-bit image (the window's backing store, as a rule) the rows are widened into it in
// place; otherwise into a window-format copy that is handed to Qt, kept across paints so that
// its memory is allocated once.
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
    // Widens the part straight into the painter's image; false when the painter does not
    // draw into one one-to-one.
    bool PaintInPlace(QPainter& painter, const CDib& surface, const QRect& part, qreal devicePixelRatio);

    QImage m_image; // grows to the largest part painted, never shrinks
};
