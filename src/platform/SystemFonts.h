// The system font at a size in pixels. Font sizes in the layouts are in device-independent pixels,
// like the frames, so a text keeps its proportion to the frame it is given; point sizes would draw
// 4/3 larger at 96 DPI. Free of Qt Widgets, so logic code builds its attributed texts with it too.
#pragma once

#include <QFont>

class SystemFonts
{
public:
    // The system sans-serif at `pixelSize`; a size below 1 gives the system's standard size.
    static QFont systemFont(qreal pixelSize, QFont::Weight weight = QFont::Normal);
    // The system's standard font size in pixels.
    static qreal standardPixelSize();
};
