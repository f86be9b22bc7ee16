// The small grey text that explains a setting under its control.
#pragma once

class QWidget;

class PreferenceDescription
{
public:
    static constexpr int kPixelSize = 11;
    // The 11-pixel system font in the palette's secondary text colour.
    static void apply(QWidget *description);
};
