// Control fonts.
#include "controls/ControlFonts.h"

#include <QFontDatabase>
#include <QFontInfo>

QFont ControlFonts::systemFont(qreal pixelSize, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (pixelSize >= 1)
        font.setPixelSize(qRound(pixelSize));
    else
        font.setPixelSize(qRound(standardPixelSize()));
    font.setWeight(weight);
    return font;
}

qreal ControlFonts::standardPixelSize()
{
    const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    return QFontInfo(font).pixelSize();
}
