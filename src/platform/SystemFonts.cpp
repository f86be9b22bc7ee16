#include "platform/SystemFonts.h"

#include <QFontDatabase>
#include <QFontInfo>

QFont SystemFonts::systemFont(qreal pixelSize, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(qRound(pixelSize >= 1 ? pixelSize : standardPixelSize()));
    font.setWeight(weight);
    return font;
}

qreal SystemFonts::standardPixelSize()
{
    return QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).pixelSize();
}
