// Control fonts.
#include "controls/ControlFonts.h"

#include "platform/SystemFonts.h"

QFont ControlFonts::systemFont(qreal pixelSize, QFont::Weight weight)
{
    return SystemFonts::systemFont(pixelSize, weight);
}

qreal ControlFonts::standardPixelSize()
{
    return SystemFonts::standardPixelSize();
}
