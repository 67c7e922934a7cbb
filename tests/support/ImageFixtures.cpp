#include "ImageFixtures.h"

#include <turbojpeg.h>

#include <QBuffer>
#include <QColor>
#include <QProcess>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace fixtures {

namespace {

// A small reproducible generator, so that a seed always gives the same page.
struct Lcg {
    std::uint32_t state;
    std::uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int Range(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1));
    }
};

// Through ImageMagick, the tool such files are made with: the picture goes in as PNG and
// comes out as `coder` writes it.
Bytes ConvertedByImageMagick(const QImage& image, const QString& coder, const QStringList& options) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QProcess convert;
    convert.start(QStringLiteral("convert"),
                  QStringList{QStringLiteral("png:-")} + options + QStringList{coder + ":-"});
    convert.write(png);
    convert.closeWriteChannel();
    if (!convert.waitForFinished(-1) || convert.exitStatus() != QProcess::NormalExit ||
        convert.exitCode() != 0)
        return {};
    const QByteArray out = convert.readAllStandardOutput();
    return Bytes(out.begin(), out.end());
}

// Seven-segment digits: bit i lights segment i (top, upper right, lower right, bottom,
// lower left, upper left, middle).
constexpr std::array<std::uint8_t, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                    0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void FillRect(QImage& image, int x, int y, int w, int h, QRgb color) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(image.width(), x + w), y1 = std::min(image.height(), y + h);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx)
            image.setPixel(xx, yy, color);
}

void DrawDigit(QImage& image, int x, int y, int w, int h, int digit, QRgb color) {
    const int t = std::max(1, w / 5);
    const int half = h / 2;
    const std::uint8_t s = kSegments[static_cast<std::size_t>(digit)];
    if (s & 0x01)
        FillRect(image, x, y, w, t, color);
    if (s & 0x02)
        FillRect(image, x + w - t, y, t, half, color);
    if (s & 0x04)
        FillRect(image, x + w - t, y + half, t, h - half, color);
    if (s & 0x08)
        FillRect(image, x, y + h - t, w, t, color);
    if (s & 0x10)
        FillRect(image, x, y + half, t, h - half, color);
    if (s & 0x20)
        FillRect(image, x, y, t, half, color);
    if (s & 0x40)
        FillRect(image, x, y + half - t / 2, w, t, color);
}

} // namespace

Bytes EncodeJpeg(const QImage& image, int quality, bool progressive) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    if (!handle)
        return {};
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int flags = progressive ? TJFLAG_PROGRESSIVE : 0;
    if (tjCompress2(handle.get(), rgb.constBits(), rgb.width(), static_cast<int>(rgb.bytesPerLine()),
                    rgb.height(), TJPF_RGB, &jpeg, &size, TJSAMP_420, quality, flags) != 0) {
        tjFree(jpeg);
        return {};
    }
    Bytes out(jpeg, jpeg + size);
    tjFree(jpeg);
    return out;
}

Bytes EncodeGif(const QImage& image) {
    return ConvertedByImageMagick(image.convertToFormat(QImage::Format_ARGB32), QStringLiteral("GIF"), {});
}

Bytes EncodeBmp(const QImage& image) {
    return ConvertedByImageMagick(image.convertToFormat(QImage::Format_RGB32), QStringLiteral("BMP3"),
                                  {QStringLiteral("-type"), QStringLiteral("TrueColor")});
}

QImage ScanLikePage(int width, int height, unsigned seed) {
    QImage page(width, height, QImage::Format_RGB888);
    Lcg rng{seed * 2654435761u + 1};
    // Paper with a faint grain.
    for (int y = 0; y < height; ++y) {
        uchar* row = page.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int grain = 236 + static_cast<int>(rng.Next() % 14);
            row[3 * x] = static_cast<uchar>(grain);
            row[3 * x + 1] = static_cast<uchar>(grain - 2);
            row[3 * x + 2] = static_cast<uchar>(grain - 6);
        }
    }
    const int margin = width / 12;
    // Halftone picture in the upper third: dots whose size follows a smooth gradient.
    const int cell = std::max(3, width / 300);
    const int pictureBottom = height / 3;
    for (int cy = margin; cy + cell <= pictureBottom; cy += cell) {
        for (int cx = margin; cx + cell <= width - margin; cx += cell) {
            const double level = 0.5 + 0.5 * std::sin(cx * 0.004 + cy * 0.003) * std::cos(cy * 0.006);
            const int r = static_cast<int>(level * cell / 2 + 0.5);
            FillRect(page, cx + cell / 2 - r, cy + cell / 2 - r, 2 * r, 2 * r, qRgb(30, 30, 35));
        }
    }
    // Line art: frame lines and diagonals over the picture.
    const int t = std::max(1, width / 600);
    FillRect(page, margin, margin, width - 2 * margin, t, qRgb(10, 10, 10));
    FillRect(page, margin, pictureBottom, width - 2 * margin, t, qRgb(10, 10, 10));
    for (int i = 0; i < pictureBottom - margin; ++i) {
        const int x = margin + i * (width - 2 * margin) / std::max(1, pictureBottom - margin);
        FillRect(page, x, margin + i, t, t, qRgb(20, 20, 20));
    }
    // Text blocks: lines of glyph-sized dark marks with word gaps.
    const int lineHeight = std::max(6, height / 110);
    const int glyph = std::max(3, lineHeight * 6 / 10);
    for (int y = pictureBottom + lineHeight * 2; y + lineHeight < height - margin; y += lineHeight) {
        int x = margin;
        while (x + glyph < width - margin) {
            const int w = glyph / 2 + rng.Range(0, glyph / 2);
            const int shade = rng.Range(0, 40);
            FillRect(page, x, y, w, glyph, qRgb(shade, shade, shade + 5));
            x += w + std::max(1, glyph / 5);
            if (rng.Range(0, 6) == 0)
                x += glyph;
        }
    }
    // Scanner noise: scattered specks.
    const int specks = width * height / 2000;
    for (int i = 0; i < specks; ++i)
        FillRect(page, rng.Range(0, width - 1), rng.Range(0, height - 1), 1 + rng.Range(0, 1), 1,
                 qRgb(90, 90, 90));
    return page;
}

QImage NumberedPage(int width, int height, int number) {
    QImage page(width, height, QImage::Format_RGB888);
    page.fill(QColor(255, 255, 255));
    const std::string digits = std::to_string(number < 0 ? 0 : number);
    const int n = static_cast<int>(digits.size());
    const int digitW = std::max(3, width * 6 / 10 / std::max(1, n) * 8 / 10);
    const int digitH = std::max(5, std::min(height * 6 / 10, digitW * 2));
    const int gap = std::max(1, digitW / 4);
    const int total = n * digitW + (n - 1) * gap;
    int x = (width - total) / 2;
    const int y = (height - digitH) / 2;
    for (char c : digits) {
        DrawDigit(page, x, y, digitW, digitH, c - '0', qRgb(0, 0, 0));
        x += digitW + gap;
    }
    // A border, so that a page's edges are visible on a white window.
    FillRect(page, 0, 0, width, 2, qRgb(128, 128, 128));
    FillRect(page, 0, height - 2, width, 2, qRgb(128, 128, 128));
    FillRect(page, 0, 0, 2, height, qRgb(128, 128, 128));
    FillRect(page, width - 2, 0, 2, height, qRgb(128, 128, 128));
    return page;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace fixtures
