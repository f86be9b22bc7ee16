// Grid cell picture.
#include "results/ui/ItemImageView.h"

#include <QPainter>

#include "platform/ui/BundleImage.h"

ItemImageView::ItemImageView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ItemImageView::setImage(const QImage &image)
{
    m_image = image;
    m_name.clear();
    update();
}

void ItemImageView::setImageNamed(const QString &name)
{
    m_image = QImage();
    m_name = name;
    update();
}

void ItemImageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_image.isNull()) {
        QSizeF size = m_image.size();
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
        const QRectF target(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_image);
        return;
    }
    const BundleImage artwork = BundleImage::named(m_name);
    if (artwork.isNull())
        return;
    QSizeF size = artwork.size();
    size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    artwork.draw(painter, QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size));
}
