#include "ImageFixtures.h"

#include <turbojpeg.h>

#include <QColor>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace fixtures {

namespace {

void PutLe16(Bytes& out, unsigned v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void PutLe32(Bytes& out, std::uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

// A small reproducible generator, so that a seed always gives the same page.
struct Lcg {
    std::uint32_t state;
    std::uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1)); }
};

// GIF codes are written 9 bits wide; a clear code every few codes keeps the decoder's
// table from growing, so no compression is needed to make a valid stream.
Bytes LzwUncompressed(const std::vector<std::uint8_t>& indices)
{
    constexpr unsigned kClear = 256, kEnd = 257, kCodesPerClear = 250;
    Bytes packed;
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    auto putCode = [&](unsigned code) {
        bitBuffer |= code << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            packed.push_back(bitBuffer & 0xFF);
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    };
    unsigned sinceClear = kCodesPerClear;
    for (std::uint8_t index : indices) {
        if (sinceClear == kCodesPerClear) {
            putCode(kClear);
            sinceClear = 0;
        }
        putCode(index);
        ++sinceClear;
    }
    putCode(kEnd);
    if (bitCount > 0)
        packed.push_back(bitBuffer & 0xFF);
    return packed;
}

// Palette of the image's own colours when they fit, else a 6x7x6 colour cube.
struct Palette {
    std::vector<QRgb> colors;
    std::map<QRgb, std::uint8_t> exact;
    bool cube = false;
    std::uint8_t IndexOf(QRgb c) const
    {
        if (!cube)
            return exact.at(c & 0xFFFFFF);
        const int r = (qRed(c) * 5 + 127) / 255, g = (qGreen(c) * 6 + 127) / 255, b = (qBlue(c) * 5 + 127) / 255;
        return static_cast<std::uint8_t>(r * 42 + g * 6 + b);
    }
};

Palette MakePalette(const QImage& image)
{
    Palette palette;
    for (int y = 0; y < image.height() && !palette.cube; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            if (palette.exact.count(c & 0xFFFFFF))
                continue;
            if (palette.exact.size() == 255) {
                palette.cube = true;
                break;
            }
            palette.exact.emplace(c & 0xFFFFFF, static_cast<std::uint8_t>(palette.colors.size()));
            palette.colors.push_back(c & 0xFFFFFF);
        }
    }
    if (palette.cube) {
        palette.colors.clear();
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    palette.colors.push_back(qRgb(r * 255 / 5, g * 255 / 6, b * 255 / 5));
    }
    return palette;
}

// Seven-segment digits: bit i lights segment i (top, upper right, lower right, bottom,
// lower left, upper left, middle).
constexpr std::array<std::uint8_t, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void FillRect(QImage& image, int x, int y, int w, int h, QRgb color)
{
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(image.width(), x + w), y1 = std::min(image.height(), y + h);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx)
            image.setPixel(xx, yy, color);
}

void DrawDigit(QImage& image, int x, int y, int w, int h, int digit, QRgb color)
{
    const int t = std::max(1, w / 5);
    const int half = h / 2;
    const std::uint8_t s = kSegments[static_cast<std::size_t>(digit)];
    if (s & 0x01) FillRect(image, x, y, w, t, color);
    if (s & 0x02) FillRect(image, x + w - t, y, t, half, color);
    if (s & 0x04) FillRect(image, x + w - t, y + half, t, h - half, color);
    if (s & 0x08) FillRect(image, x, y + h - t, w, t, color);
    if (s & 0x10) FillRect(image, x, y + half, t, h - half, color);
    if (s & 0x20) FillRect(image, x, y, t, half, color);
    if (s & 0x40) FillRect(image, x, y + half - t / 2, w, t, color);
}

} // namespace

Bytes EncodeJpeg(const QImage& image, int quality, bool progressive)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    if (!handle)
        return {};
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int flags = progressive ? TJFLAG_PROGRESSIVE : 0;
    if (tjCompress2(handle.get(), rgb.constBits(), rgb.width(), static_cast<int>(rgb.bytesPerLine()), rgb.height(),
                    TJPF_RGB, &jpeg, &size, TJSAMP_420, quality, flags) != 0) {
        tjFree(jpeg);
        return {};
    }
    Bytes out(jpeg, jpeg + size);
    tjFree(jpeg);
    return out;
}

Bytes EncodeGif(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const Palette palette = MakePalette(argb);
    const std::uint8_t transparent = 255;
    bool hasTransparency = false;
    std::vector<std::uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(argb.width()) * argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            if (qAlpha(c) == 0) {
                indices.push_back(transparent);
                hasTransparency = true;
            } else {
                indices.push_back(palette.IndexOf(c));
            }
        }
    }
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(out, argb.width());
    PutLe16(out, argb.height());
    out.push_back(0xF7); // global table of 256 colours, 8 bits per primary
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < static_cast<int>(palette.colors.size()) ? palette.colors[static_cast<std::size_t>(i)] : 0;
        out.push_back(qRed(c));
        out.push_back(qGreen(c));
        out.push_back(qBlue(c));
    }
    if (hasTransparency) {
        const std::uint8_t gce[] = {0x21, 0xF9, 4, 0x01, 0, 0, transparent, 0};
        out.insert(out.end(), std::begin(gce), std::end(gce));
    }
    out.push_back(0x2C);
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe16(out, argb.width());
    PutLe16(out, argb.height());
    out.push_back(0);
    out.push_back(8); // minimum code size
    const Bytes lzw = LzwUncompressed(indices);
    for (std::size_t at = 0; at < lzw.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, lzw.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), lzw.begin() + static_cast<std::ptrdiff_t>(at),
                   lzw.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

Bytes EncodeBmp(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const std::uint32_t stride = (static_cast<std::uint32_t>(rgb.width()) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(rgb.height());
    Bytes out = {'B', 'M'};
    PutLe32(out, 54 + pixelBytes);
    PutLe32(out, 0);
    PutLe32(out, 54);
    PutLe32(out, 40);
    PutLe32(out, static_cast<std::uint32_t>(rgb.width()));
    PutLe32(out, static_cast<std::uint32_t>(rgb.height())); // positive: bottom-up rows
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0);
    PutLe32(out, pixelBytes);
    PutLe32(out, 3780);
    PutLe32(out, 3780);
    PutLe32(out, 0);
    PutLe32(out, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* row = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out.push_back(row[3 * x + 2]);
            out.push_back(row[3 * x + 1]);
            out.push_back(row[3 * x]);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(rgb.width()) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

QImage ScanLikePage(int width, int height, unsigned seed)
{
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
        FillRect(page, rng.Range(0, width - 1), rng.Range(0, height - 1), 1 + rng.Range(0, 1), 1, qRgb(90, 90, 90));
    return page;
}

QImage NumberedPage(int width, int height, int number)
{
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

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace fixtures
