#include "ScreenImage.h"

#include "imaging/Dib.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define TAVIMO_VIEW_SSSE3 1
#endif

namespace {

// B, G, R bytes become the B, G, R, 0xFF of one 32-bit pixel: the same byte order, so
// a pixel is only widened.
void ConvertRowPlain(const std::uint8_t* source, std::uint32_t* target, int begin, int width)
{
    source += 3 * begin;
    for (int x = begin; x < width; ++x, source += 3)
        target[x] = 0xFF000000u | std::uint32_t(source[2]) << 16 | std::uint32_t(source[1]) << 8 | source[0];
}

#ifdef TAVIMO_VIEW_SSSE3
__attribute__((target("ssse3"))) void ConvertRowSsse3(const std::uint8_t* source, std::uint32_t* target, int width)
{
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    int x = 0;
    // Each step reads 16 bytes for 4 pixels (12 bytes); stop while the read stays in the row.
    for (; x + 6 <= width; x += 4) {
        const __m128i bgr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * x));
        const __m128i pixels = _mm_or_si128(_mm_shuffle_epi8(bgr, spread), opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + x), pixels);
    }
    ConvertRowPlain(source, target, x, width);
}

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

void ConvertRow(const std::uint8_t* source, std::uint32_t* target, int width)
{
#ifdef TAVIMO_VIEW_SSSE3
    if (HasSsse3()) {
        ConvertRowSsse3(source, target, width);
        return;
    }
#endif
    ConvertRowPlain(source, target, 0, width);
}

void ConvertRows(const CDib& surface, const QRect& part, QImage& target, QPoint to)
{
    for (int y = part.y(); y < part.y() + part.height(); ++y)
        ConvertRow(surface.GetRowPtr(y) + 3 * part.x(),
                   reinterpret_cast<std::uint32_t*>(target.scanLine(y + to.y())) + part.x() + to.x(), part.width());
}

} // namespace

bool CScreenImage::PaintInPlace(QPainter& painter, const CDib& surface, const QRect& part, qreal devicePixelRatio)
{
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice()
        || engine->paintDevice()->devType() != QInternal::Image)
        return false;
    auto& target = *static_cast<QImage*>(engine->paintDevice());
    // Opaque pixels come out the same in any of these formats and under either mode.
    const QImage::Format format = target.format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32
         && format != QImage::Format_ARGB32_Premultiplied)
        || painter.hasClipping() || painter.opacity() != 1.0
        || (painter.compositionMode() != QPainter::CompositionMode_SourceOver
            && painter.compositionMode() != QPainter::CompositionMode_Source))
        return false;
    // One surface pixel to one device pixel: the painter may only scale by the device pixel
    // ratio and move by whole device pixels.
    const QTransform& transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxScale || transform.m11() != devicePixelRatio
        || transform.m22() != devicePixelRatio || transform.dx() != std::floor(transform.dx())
        || transform.dy() != std::floor(transform.dy()))
        return false;
    const QPoint offset(int(transform.dx()), int(transform.dy()));
    // Only what the painter may paint: the system clip, when there is one, is in device pixels.
    QRegion allowed(target.rect());
    if (!engine->systemClip().isEmpty())
        allowed &= engine->systemClip();
    for (const QRect& rect : allowed & QRegion(part.translated(offset)))
        ConvertRows(surface, rect.translated(-offset), target, offset);
    return true;
}

void CScreenImage::Paint(QPainter& painter, const CDib& surface, int width, int height, qreal devicePixelRatio)
{
    Paint(painter, surface, QRect(0, 0, width, height), devicePixelRatio);
}

void CScreenImage::Paint(QPainter& painter, const CDib& surface, const QRect& area, qreal devicePixelRatio)
{
    if (!surface.IsCreated())
        return;
    const QRect part = area & QRect(0, 0, surface.GetWidth(), surface.GetHeight());
    if (part.isEmpty() || PaintInPlace(painter, surface, part, devicePixelRatio))
        return;
    // Qt's own conversion of 24-bit rows costs several times this plain widening, and the
    // window's own 32-bit format is then copied without conversion.
    const int right = part.x() + part.width(), bottom = part.y() + part.height();
    if (m_image.width() < right || m_image.height() < bottom)
        m_image = QImage(std::max(right, m_image.width()), std::max(bottom, m_image.height()), QImage::Format_RGB32);
    ConvertRows(surface, part, m_image, QPoint());
    m_image.setDevicePixelRatio(devicePixelRatio);
    painter.drawImage(QPointF(part.x() / devicePixelRatio, part.y() / devicePixelRatio), m_image, QRectF(part));
}
