// Colours shared by the lists and buttons: the alternating row colours and the lighten, darken and
// lightness helpers of the colour class.
#pragma once

#include <array>

#include <QColor>

class ChangeTableColor
{
public:
    // The two alternating row colours: the dark greys of a CustomTableView, otherwise white and the
    // desktop's alternate-base colour. A property of the view asking, never a stored setting.
    static std::array<QColor, 2> controlAlternatingRowBackgroundColors(bool customTable);

    // The colour with `v` subtracted from (added to) red, green and blue, alpha 1, computed in single
    // precision and not clamped (components outside 0..1 give an extended-range colour).
    static QColor darkenColorByValue(const QColor &color, float v);
    static QColor lightenColorByValue(const QColor &color, float v);

    // Lightness above 0.8: the grey value of a grey, otherwise the mean of red, green and blue.
    static bool isLightColor(const QColor &color);
};
