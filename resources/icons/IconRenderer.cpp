// Build tool: draws the application icon's SVG into a square PNG of the given size.
// Usage: qny_icon_renderer <icon.svg> <size> <output.png>
#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <icon.svg> <size> <output.png>\n", argv[0]);
        return 2;
    }
    const QString svgPath = QString::fromLocal8Bit(argv[1]);
    const int size = QString::fromLocal8Bit(argv[2]).toInt();
    const QString output = QString::fromLocal8Bit(argv[3]);
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid() || size <= 0) {
        std::fprintf(stderr, "cannot draw %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }
    if (!QDir().mkpath(QFileInfo(output).absolutePath()) || !image.save(output, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
