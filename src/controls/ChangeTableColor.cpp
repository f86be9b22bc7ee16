// Table and button colours.
#include "controls/ChangeTableColor.h"

#include <QGuiApplication>
#include <QPalette>

std::array<QColor, 2> ChangeTableColor::controlAlternatingRowBackgroundColors(bool customTable)
{
    if (customTable)
        return {QColor(76, 75, 76), QColor(73, 73, 73)};
    return {QColor(Qt::white), QGuiApplication::palette().color(QPalette::AlternateBase)};
}

namespace {

std::array<float, 3> componentsAfter(const QColor &color, float v)
{
    const QColor rgb = color.toExtendedRgb();
    return {static_cast<float>(rgb.redF()) + v, static_cast<float>(rgb.greenF()) + v,
            static_cast<float>(rgb.blueF()) + v};
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
    // A grey's red component is its grey value, which is also the mean of its components.
    const QColor rgb = color.toRgb();
    return (rgb.redF() + rgb.greenF() + rgb.blueF()) / 3.0 > 0.8;
}
