// An image of the application's resources looked up by name, as the windows name their artwork
// ("box_header_left", "top_big_header.png"). SVG artwork stays sharp at any size. GUI thread only.
#pragma once

#include <memory>

#include <QImage>
#include <QPixmap>
#include <QSizeF>
#include <QString>

class QPainter;
class QSvgRenderer;

class BundleImage
{
public:
    BundleImage() = default;

    // The resources' "images/<name>.svg", else ".png"; a given ".png"/".svg" extension is tried first
    // as it is and then with the other one. "" or an unknown name gives a null image.
    static BundleImage named(const QString &name);

    bool isNull() const { return !m_svg && m_image.isNull(); }
    // Natural size in device-independent pixels.
    QSizeF size() const;
    // Draws the image scaled into `target`.
    void draw(QPainter &painter, const QRectF &target) const;
    QPixmap pixmap(const QSize &size, qreal devicePixelRatio = 1.0) const;

private:
    std::shared_ptr<QSvgRenderer> m_svg;
    QImage m_image;
};
