// Path bar component.
#include "controls/ITPathbarComponentCell.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QPainter>

#include "platform/OutsideText.h"

ITPathbarComponentCell::ITPathbarComponentCell(const QString &title, const QString &path, const QIcon &icon)
    : m_title(OutsideText::name(title))
    , m_path(path)
    , m_image(icon)
{
}

qreal ITPathbarComponentCell::fullWidth(const QFont &font) const
{
    return kIconSize + kIconGap + QFontMetricsF(font).horizontalAdvance(m_title);
}

qreal ITPathbarComponentCell::shortestWidth(const QFont &font) const
{
    const QFontMetricsF metrics(font);
    const qreal shortened = metrics.horizontalAdvance(m_title.left(kShortestLetters) + QChar(0x2026));
    // A pixel to spare: the eliding measures in whole pixels.
    return kIconSize + kIconGap + std::min(shortened + 1, metrics.horizontalAdvance(m_title));
}

void ITPathbarComponentCell::draw(
    QPainter &painter, const QRectF &rect, const QFont &font, Qt::TextElideMode elide) const
{
    const QRectF iconRect(rect.left(), rect.center().y() - kIconSize / 2.0, kIconSize, kIconSize);
    m_image.paint(&painter, iconRect.toRect());
    const qreal textWidth = rect.width() - kIconSize - kIconGap;
    if (textWidth <= 0)
        return;
    const QFontMetricsF metrics(font);
    const QRectF textRect(rect.left() + kIconSize + kIconGap, rect.top(), textWidth, rect.height());
    painter.save();
    painter.setFont(font);
    painter.setPen(textColor());
    painter.drawText(
        textRect, Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(m_title, elide, textWidth));
    painter.restore();
}
