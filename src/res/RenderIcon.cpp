// Build-time tool: draws the scalable application icon as a square PNG of one size with
// Qt's own SVG renderer, so every machine that builds the program makes the same pixels.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ICON.svg SIZE OUT.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = QString::fromLocal8Bit(argv[2]).toInt();
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid() || size <= 0 || size > 4096) {
        std::fprintf(stderr, "cannot draw %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    if (!icon.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
