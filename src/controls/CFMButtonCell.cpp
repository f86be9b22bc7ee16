// Rounded gradient button drawing.
#include "controls/CFMButtonCell.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "controls/ChangeTableColor.h"

namespace
{

QColor orFallback(const QColor &color, const QColor &fallback)
{
    return color.isValid() ? color : fallback;
}

QPainterPath roundedRect(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

const QColor kFallbackInside(220, 255, 255);
const QColor kFallbackBlue(69, 162, 255);
const QColor kFallbackGrey(185, 185, 185);

} // namespace

void CFMButtonCell::setButtonInsideColor(const QColor &inside, const QColor &disabledInside,
    const QColor &textEnabled, const QColor &textDisabled, const QColor &borderEnabled,
    const QColor &borderDisabled, double radius, int fontSize, bool isLight, bool isBold,
    double outerLineWidth)
{
    m_roundedRadius = radius;
    btnInsideColor = inside;
    btnDisInsideColor = disabledInside;
    textColorEnableState = textEnabled;
    textColorDisableState = textDisabled;
    btnBorderColorEnableState = borderEnabled;
    btnBorderColorDisableState = borderDisabled;
    m_textFontSize = fontSize;
    m_isBoldFont = isBold;
    m_isLightFont = isLight;
    m_outerWidth = outerLineWidth;
}

QColor CFMButtonCell::getColorForButtonType(bool enabled) const
{
    return orFallback(enabled ? btnInsideColor : btnDisInsideColor, kFallbackInside);
}

QColor CFMButtonCell::getBorderColorEnable() const
{
    return orFallback(btnBorderColorEnableState, kFallbackBlue);
}

QColor CFMButtonCell::getBorderColorDisable() const
{
    return orFallback(btnBorderColorDisableState, kFallbackGrey);
}

QColor CFMButtonCell::getEnableButtonTextColor() const
{
    return orFallback(textColorEnableState, kFallbackBlue);
}

QColor CFMButtonCell::getDisableButtonTextColor() const
{
    return orFallback(textColorDisableState, kFallbackGrey);
}

void CFMButtonCell::drawBezelWithFrame(
    QPainter &painter, const QRectF &frame, bool enabled, bool highlighted) const
{
    const QColor inside = getColorForButtonType(enabled);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(
        roundedRect(frame, m_roundedRadius), enabled ? getBorderColorEnable() : getBorderColorDisable());
    const QRectF inner = frame.adjusted(m_outerWidth, m_outerWidth, -m_outerWidth, -m_outerWidth);
    // The button's coordinates run downwards, so location 0 of the 90-degree gradient is the top.
    QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
    gradient.setColorAt(0.0, highlighted ? ChangeTableColor::darkenColorByValue(inside, 0.1f) : inside);
    gradient.setColorAt(1.0, inside);
    if (!inner.isEmpty())
        painter.fillPath(roundedRect(inner, m_roundedRadius), gradient);
    painter.restore();
}

void CFMButtonCell::drawTitle(
    QPainter &painter, const QString &title, const QFont &font, const QRectF &frame, bool enabled) const
{
    painter.save();
    painter.setFont(font);
    painter.setPen(enabled ? getEnableButtonTextColor() : getDisableButtonTextColor());
    painter.drawText(frame, Qt::AlignCenter, title);
    painter.restore();
}
