// Draws the bundled sample book: a dozen numbered pages in a ZIP archive, mostly JPEG, one
// GIF with a transparent corner, one BMP and one double page wider than tall, each page
// on a paper tint of its own so that a glance tells which page is showing.
#include "ArchiveFixtures.h"
#include "ImageFixtures.h"

#include <QColor>
#include <QImage>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kPageCount = 12;
constexpr int kPageWidth = 800;
constexpr int kPageHeight = 1130;
constexpr int kGifPage = 5;
constexpr int kDoublePage = 7;
constexpr int kBmpPage = 9;

// The paper tint of a page: a light colour whose hue walks round the wheel.
QRgb PaperTint(int number) {
    return QColor::fromHsv((number * 47) % 360, 40, 250).rgb();
}

QImage TintedPage(int number) {
    const int width = number == kDoublePage ? 2 * kPageWidth : kPageWidth;
    QImage page = fixtures::NumberedPage(width, kPageHeight, number).convertToFormat(QImage::Format_ARGB32);
    const QRgb paper = PaperTint(number);
    for (int y = 0; y < page.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x)
            if (qRed(row[x]) == 255 && qGreen(row[x]) == 255 && qBlue(row[x]) == 255)
                row[x] = paper;
    }
    return page;
}

// The top-left quarter of the GIF page is transparent: the viewer's background shows there.
void CutTransparentCorner(QImage& page) {
    for (int y = 0; y < page.height() / 4; ++y) {
        auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < page.width() / 4; ++x)
            row[x] = qRgba(0, 0, 0, 0);
    }
}

std::string PageName(int number, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "page%02d.%s", number, extension);
    return name;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.zip\n", argv[0]);
        return 2;
    }
    std::vector<fixtures::ZipItem> items;
    for (int number = 1; number <= kPageCount; ++number) {
        QImage page = TintedPage(number);
        if (number == kGifPage) {
            CutTransparentCorner(page);
            items.push_back({PageName(number, "gif"), fixtures::EncodeGif(page)});
        } else if (number == kBmpPage) {
            items.push_back({PageName(number, "bmp"), fixtures::EncodeBmp(page)});
        } else {
            items.push_back({PageName(number, "jpg"), fixtures::EncodeJpeg(page, 90)});
        }
        if (items.back().data.empty()) {
            std::fprintf(stderr, "could not encode %s\n", items.back().name.c_str());
            return 1;
        }
    }
    if (!fixtures::WriteZip(argv[1], items)) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
