// The drawing of a CFMButton: an outer rounded rectangle in the border colour and, inset by the
// border width, an inner one filled with the inside colour (darker at the top while pressed), with
// the title centred in the text colour. Unset colours fall back to fixed ones.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;

class CFMButtonCell
{
public:
    void setButtonInsideColor(const QColor &inside, const QColor &disabledInside, const QColor &textEnabled,
        const QColor &textDisabled, const QColor &borderEnabled, const QColor &borderDisabled, double radius,
        int fontSize, bool isLight, bool isBold, double outerLineWidth);

    // Colour lookups with their fallbacks (an invalid QColor stands for "not given").
    QColor getColorForButtonType(bool enabled) const;
    QColor getBorderColorEnable() const;
    QColor getBorderColorDisable() const;
    QColor getEnableButtonTextColor() const;
    QColor getDisableButtonTextColor() const;

    void drawBezelWithFrame(QPainter &painter, const QRectF &frame, bool enabled, bool highlighted) const;
    void drawTitle(
        QPainter &painter, const QString &title, const QFont &font, const QRectF &frame, bool enabled) const;

    double roundedRadius() const { return m_roundedRadius; }
    double outerWidth() const { return m_outerWidth; }
    int textFontSize() const { return m_textFontSize; }
    bool isLightFont() const { return m_isLightFont; }
    bool isBoldFont() const { return m_isBoldFont; }

private:
    QColor btnInsideColor;
    QColor btnDisInsideColor;
    double m_roundedRadius = 0.0;
    QColor btnBorderColorEnableState;
    QColor btnBorderColorDisableState;
    QColor textColorDisableState;
    QColor textColorEnableState;
    int m_textFontSize = 0;
    bool m_isLightFont = false;
    bool m_isBoldFont = false;
    double m_outerWidth = 0.0;
};
