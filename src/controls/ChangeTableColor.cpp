// Table and button colours.
#include "controls/ChangeTableColor.h"

#include <QGuiApplication>
#include <QPalette>

std::array<QColor, 2> ChangeTableColor::controlAlternatingRowBackgroundColors(bool customTable)
{
    if (customTable)
        return { QColor(76, 75, 76), QColor(73, 73, 73) };
    return { QColor(Qt::white), QGuiApplication::palette().color(QPalette::AlternateBase) };
}

namespace
{

std::array<float, 3> componentsAfter(const QColor &color, float v)
{
    const QColor rgb = color.toExtendedRgb();
    return { static_cast<float>(rgb.redF()) + v, static_cast<float>(rgb.greenF()) + v,
        static_cast<float>(rgb.blueF()) + v };
}

} // namespace

QColor ChangeTableColor::darkenColorByValue(const QColor &color, float v)
{
    const auto c = componentsAfter(color, -v);
    return QColor::fromRgbF(c[0], c[1], c[2], 1.0f);
}

QColor ChangeTableColor::lightenColorByValue(const QColor &color, float v)
{
    const auto c = componentsAfter(color, v);
    return QColor::fromRgbF(c[0], c[1], c[2], 1.0f);
}

bool ChangeTableColor::isLightColor(const QColor &color)
{
    // A grey is judged by its one component (red), not by a mean that rounding could lift.
    const QColor rgb = color.toRgb();
    // Components are single precision; the limit must be too, or a stored 0.8 would count as light.
    if (rgb.red() == rgb.green() && rgb.green() == rgb.blue())
        return rgb.redF() > 0.8f;
    return (rgb.redF() + rgb.greenF() + rgb.blueF()) / 3.0f > 0.8f;
}
