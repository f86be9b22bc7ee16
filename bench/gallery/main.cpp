// Renders every control of the gallery to <folder>/<name>.png and all of them, labelled, to
// <folder>/gallery.png. Usage: control_gallery <output folder>
#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTextStream>

#include "controls/ControlGallery.h"

namespace
{

constexpr int kMargin = 12;
constexpr int kLabelHeight = 16;
constexpr int kSheetWidth = 900;

QImage sheetOf(const std::vector<std::pair<QString, QPixmap>> &shots)
{
    // Lay the shots out in rows, each under its name.
    int x = kMargin, y = kMargin, rowHeight = 0;
    std::vector<QPoint> places;
    for (const auto &[name, pixmap] : shots) {
        const QSize size = pixmap.deviceIndependentSize().toSize();
        if (x + size.width() > kSheetWidth - kMargin && x > kMargin) {
            x = kMargin;
            y += rowHeight + kMargin;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += std::max(size.width(), 150) + kMargin;
        rowHeight = std::max(rowHeight, size.height() + kLabelHeight);
    }
    QImage sheet(kSheetWidth, y + rowHeight + kMargin, QImage::Format_ARGB32);
    sheet.fill(QColor(30, 36, 51));
    QPainter painter(&sheet);
    painter.setPen(QColor(208, 210, 213));
    for (size_t i = 0; i < shots.size(); ++i) {
        painter.drawText(
            QRect(places[i], QSize(200, kLabelHeight)), Qt::AlignLeft | Qt::AlignVCenter, shots[i].first);
        painter.drawPixmap(places[i] + QPoint(0, kLabelHeight), shots[i].second);
    }
    return sheet;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc < 2) {
        err << "usage: control_gallery <output folder>\n";
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }
    std::vector<std::pair<QString, QPixmap>> shots;
    for (const GalleryItem &item : ControlGallery::build()) {
        const QPixmap pixmap = item.widget->grab();
        pixmap.save(out.filePath(item.name + QStringLiteral(".png")));
        shots.emplace_back(item.name, pixmap);
    }
    sheetOf(shots).save(out.filePath(QStringLiteral("gallery.png")));
    QTextStream(stdout) << "wrote " << shots.size() << " controls to " << out.absolutePath() << "\n";
    return 0;
}
