// Results grid cell.
#include "results/ui/CollectionViewItem.h"

#include <QPainter>

#include "controls/ControlStyles.h"
#include "platform/NotificationCenter.h"
#include "platform/ui/BundleImage.h"

namespace {

constexpr int kStripHeight = 6;

} // namespace

CollectionViewItem::CollectionViewItem(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    imageItem = new ItemImageView(this);
    imgVideo = makeBadge(QStringLiteral("video_badge"), QSize(24, 24));
    imgViewiPhoto = makeBadge(QStringLiteral("photoslib"), QSize(24, 24));
    imgViewLock = makeBadge(QStringLiteral("lock_icon"), QSize(20, 20));
    btnCheckBox = new QCheckBox(this);
    btnCheckBox->setFocusPolicy(Qt::NoFocus);
    // A light box with a dark tick, readable over both the dark cell and any picture.
    QPalette check = btnCheckBox->palette();
    check.setColor(QPalette::Base, Qt::white);
    check.setColor(QPalette::Text, QColor(30, 38, 56));
    check.setColor(QPalette::Window, Qt::white);
    btnCheckBox->setPalette(check);
    connect(btnCheckBox, &QCheckBox::clicked, this, [this] { markUnmarkImage(); });
    lblName = new ElidingLabel(Qt::ElideMiddle, this);
    lblImageInfo = new QLabel(this);
    for (QLabel *label : { static_cast<QLabel *>(lblName.data()), lblImageInfo.data() }) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: #d8dce4;"));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    boxBottomForItem = new GradientBox(this);
    boxBottomForItem->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QLabel *CollectionViewItem::makeBadge(const QString &imageName, const QSize &size)
{
    auto *badge = new QLabel(this);
    badge->setFixedSize(size);
    badge->setPixmap(BundleImage::named(imageName).pixmap(size, devicePixelRatioF()));
    badge->setAttribute(Qt::WA_TransparentForMouseEvents);
    badge->hide();
    return badge;
}

bool CollectionViewItem::isShowing(const ImageFileInfo *record) const
{
    return record && m_record.lock().get() == record;
}

void CollectionViewItem::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    update();
}

void CollectionViewItem::setShowsFocusMark(bool shows)
{
    if (m_focusMark == shows)
        return;
    m_focusMark = shows;
    update();
}

void CollectionViewItem::markUnmarkImage()
{
    QVariantMap userInfo;
    if (indexpathForCell)
        userInfo.insert(QStringLiteral("indexpath"), QVariant::fromValue(*indexpathForCell));
    NotificationCenter::defaultCenter().post(QStringLiteral("SelectUnselectPhoto"), userInfo);
}

void CollectionViewItem::resizeEvent(QResizeEvent *)
{
    const int w = width();
    const int imageLeft = (w - kImageWidth) / 2;
    imageItem->setGeometry(imageLeft, 8, kImageWidth, kImageHeight);
    imgVideo->move(imageLeft + 6, 8 + kImageHeight - 30);
    imgViewiPhoto->move(imageLeft + kImageWidth - 30, 14);
    btnCheckBox->setGeometry(imageLeft + 4, 12, 22, 22);
    imgViewLock->move(imageLeft + 5, 13);
    lblName->setGeometry(4, 8 + kImageHeight + 6, w - 8, 20);
    lblImageInfo->setGeometry(4, 8 + kImageHeight + 28, w - 8, 18);
    boxBottomForItem->setGeometry(0, height() - kStripHeight, w, kStripHeight);
}

void CollectionViewItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(42, 52, 75));
    if (m_selected) {
        // Selection frame: light blue, two points wide.
        painter.setPen(QPen(QColor(150, 192, 229), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    // Between the selection frame and the picture, above the strip.
    if (m_focusMark)
        ControlStyles::drawFocusMark(painter, rect().adjusted(4, 4, -4, -(kStripHeight + 3)));
}
