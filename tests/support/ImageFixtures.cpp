#include "ImageFixtures.h"

#include "ArchiveFixtures.h"
#include "Shell.h"

#include <turbojpeg.h>

#include <QRect>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace fixtures {

namespace {

// Clipped to the page, so callers may draw across its edges.
void FillRect(QImage& page, const QRect& rect, QRgb color) {
    const QRect inside = rect & page.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            page.setPixel(x, y, color);
}

} // namespace

Bytes EncodeJpeg(const QImage& image, int quality, bool progressive) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const bool made = handle && tjCompress2(handle.get(), rgb.constBits(), rgb.width(),
                                            int(rgb.bytesPerLine()), rgb.height(), TJPF_RGB, &jpeg, &size,
                                            TJSAMP_420, quality, progressive ? TJFLAG_PROGRESSIVE : 0) == 0;
    const Bytes out = made ? Bytes(jpeg, jpeg + size) : Bytes();
    tjFree(jpeg);
    return out;
}

Bytes EncodeWithImageMagick(const QImage& image, const std::string& coder, const std::vector<std::string>& options) {
    QTemporaryDir dir;
    const std::string in = dir.filePath("in.png").toStdString(), out = dir.filePath("out").toStdString();
    if (!dir.isValid() || !image.save(QString::fromStdString(in), "PNG"))
        return {};
    std::string command = "convert " + ShellQuoted("png:" + in);
    for (const std::string& option : options)
        command += " " + ShellQuoted(option);
    command += " " + ShellQuoted(coder + ":" + out);
    if (std::system(command.c_str()) != 0)
        return {};
    return ReadBytes(out);
}

Bytes EncodeGif(const QImage& image) {
    return EncodeWithImageMagick(image.convertToFormat(QImage::Format_ARGB32), "GIF");
}

Bytes EncodeBmp(const QImage& image) {
    return EncodeWithImageMagick(image.convertToFormat(QImage::Format_RGB32), "BMP3", {"-type", "TrueColor"});
}

QImage ScanLikePage(int width, int height, unsigned seed) {
    QImage page(width, height, QImage::Format_RGB888);
    std::uint32_t state = seed * 2654435761u + 1; // a small generator, so a seed gives one page
    const auto next = [&state](int range) {
        return int(((state = state * 1664525u + 1013904223u) >> 8) % range);
    };
    for (int y = 0; y < height; ++y) // paper with a faint grain
        for (int x = 0; x < width; ++x) {
            const int grain = 236 + next(14);
            page.setPixel(x, y, qRgb(grain, grain - 2, grain - 6));
        }
    // A halftone picture in the upper third, dots sized by a smooth gradient, framed by lines.
    const int margin = width / 12, cell = std::max(3, width / 300), pictureBottom = height / 3;
    for (int cy = margin; cy + cell <= pictureBottom; cy += cell)
        for (int cx = margin; cx + cell <= width - margin; cx += cell) {
            const double level = 0.5 + 0.5 * std::sin(cx * 0.004 + cy * 0.003) * std::cos(cy * 0.006);
            const int r = int(level * cell / 2 + 0.5);
            FillRect(page, QRect(cx + cell / 2 - r, cy + cell / 2 - r, 2 * r, 2 * r), qRgb(30, 30, 35));
        }
    const int line = std::max(1, width / 600), diagonal = std::max(1, pictureBottom - margin);
    FillRect(page, QRect(margin, margin, width - 2 * margin, line), qRgb(10, 10, 10));
    FillRect(page, QRect(margin, pictureBottom, width - 2 * margin, line), qRgb(10, 10, 10));
    for (int i = 0; i < pictureBottom - margin; ++i)
        FillRect(page, QRect(margin + i * (width - 2 * margin) / diagonal, margin + i, line, line),
                 qRgb(20, 20, 20));
    // Text below: lines of glyph-sized dark marks with word gaps.
    const int lineHeight = std::max(6, height / 110), glyph = std::max(3, lineHeight * 6 / 10);
    for (int y = pictureBottom + lineHeight * 2; y + lineHeight < height - margin; y += lineHeight)
        for (int x = margin; x + glyph < width - margin;) {
            const int w = glyph / 2 + next(glyph / 2 + 1), shade = next(41);
            FillRect(page, QRect(x, y, w, glyph), qRgb(shade, shade, shade + 5));
            x += w + std::max(1, glyph / 5) + (next(7) == 0 ? glyph : 0);
        }
    for (int i = 0; i < width * height / 2000; ++i) { // scanner noise
        const int x = next(width), y = next(height);
        FillRect(page, QRect(x, y, 1 + next(2), 1), qRgb(90, 90, 90));
    }
    return page;
}

QImage NumberedPage(int width, int height, int number) {
    QImage page(width, height, QImage::Format_RGB888);
    page.fill(Qt::white);
    const std::string digits = std::to_string(std::max(number, 0));
    const int n = int(digits.size()), w = std::max(3, width * 6 / 10 / n * 8 / 10);
    const int h = std::max(5, std::min(height * 6 / 10, w * 2)), t = std::max(1, w / 5), half = h / 2;
    const int gap = std::max(1, w / 4), left = (width - n * w - (n - 1) * gap) / 2;
    // Seven segments: top, upper right, lower right, bottom, lower left, upper left, middle.
    const QRect segments[7] = {{0, 0, w, t},           {w - t, 0, t, half},    {w - t, half, t, h - half},
                               {0, h - t, w, t},       {0, half, t, h - half}, {0, 0, t, half},
                               {0, half - t / 2, w, t}};
    const int lit[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F}; // bit i: segment i
    for (int i = 0; i < n; ++i)
        for (int s = 0; s < 7; ++s)
            if (lit[digits[std::size_t(i)] - '0'] >> s & 1)
                FillRect(page, segments[s].translated(left + i * (w + gap), (height - h) / 2), qRgb(0, 0, 0));
    // A border, so that a page's edges are visible on a white window.
    for (const QRect& edge : {QRect(0, 0, width, 2), QRect(0, height - 2, width, 2), QRect(0, 0, 2, height),
                              QRect(width - 2, 0, 2, height)})
        FillRect(page, edge, qRgb(128, 128, 128));
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
