// Named resource images.
#include "platform/ui/BundleImage.h"

#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include "platform/AppFolders.h"

namespace
{

QStringList candidatePaths(const QString &name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    QString base = name;
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg"))
        base.chop(suffix.size() + 1);
    const QString prefix = AppFolders::resourcePath(QStringLiteral("images/"));
    // Without a resources folder a bare name would be looked up in the working folder.
    if (prefix.isEmpty())
        return {};
    if (suffix == QLatin1String("png"))
        return { prefix + base + QStringLiteral(".png"), prefix + base + QStringLiteral(".svg") };
    return { prefix + base + QStringLiteral(".svg"), prefix + base + QStringLiteral(".png") };
}

} // namespace

BundleImage BundleImage::named(const QString &name)
{
    if (name.isEmpty())
        return {};
    // Image names are few and reused by every drawing of every button.
    static QHash<QString, BundleImage> cache;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd())
        return cached.value();
    BundleImage found;
    for (const QString &path : candidatePaths(name)) {
        if (!QFileInfo::exists(path))
            continue;
        if (path.endsWith(QLatin1String(".svg"))) {
            auto renderer = std::make_shared<QSvgRenderer>(path);
            if (renderer->isValid())
                found.m_svg = renderer;
        } else {
            found.m_image = QImage(path);
        }
        if (!found.isNull())
            break;
    }
    cache.insert(name, found);
    return found;
}

QSizeF BundleImage::size() const
{
    if (m_svg)
        return m_svg->viewBoxF().size();
    return QSizeF(m_image.size()) / m_image.devicePixelRatio();
}

void BundleImage::draw(QPainter &painter, const QRectF &target) const
{
    if (target.isEmpty())
        return;
    if (m_svg) {
        m_svg->setAspectRatioMode(Qt::IgnoreAspectRatio);
        m_svg->render(&painter, target);
    } else if (!m_image.isNull()) {
        painter.drawImage(target, m_image);
    }
}

QPixmap BundleImage::pixmap(const QSize &size, qreal devicePixelRatio) const
{
    if (isNull() || size.isEmpty())
        return {};
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
