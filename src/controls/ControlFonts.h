// The fonts of the controls. Sizes are pixel sizes, so titles keep their proportion to the layout
// values of the windows, which are in device-independent pixels. Text uses the system sans-serif,
// titles its bold.
#pragma once

#include <QFont>

class ControlFonts
{
public:
    // The system font at `pixelSize`; a size below 1 gives the system's standard size.
    static QFont systemFont(qreal pixelSize, QFont::Weight weight = QFont::Normal);
    static QFont boldSystemFont(qreal pixelSize) { return systemFont(pixelSize, QFont::Bold); }
    static QFont lucidaGrande(qreal pixelSize) { return systemFont(pixelSize); }
    static QFont lucidaGrandeBold(qreal pixelSize) { return boldSystemFont(pixelSize); }
    static QFont helveticaBold(qreal pixelSize) { return boldSystemFont(pixelSize); }
    // The system's standard font size in pixels.
    static qreal standardPixelSize();
};
