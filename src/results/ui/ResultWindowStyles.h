// The finished look of the results window: the main window's dark slate theme, the artwork of the
// tool bar, header, footer and sheets, and the image and flat buttons' colours, fonts and margins.
#pragma once

#include <QColor>

struct ResultWindowWidgets;
class QWidget;

class ResultWindowStyles
{
public:
    // The window's and its sheets' palettes and box artwork.
    static void applyTheme(ResultWindowWidgets &c);
    // The image buttons' artwork, title fonts, colours and margins.
    static void styleImageButtons(ResultWindowWidgets &c);
    // The flat rounded buttons of the sheets.
    static void styleFlatButtons(ResultWindowWidgets &c);

    // Colours the theme gives; the tests compare against them.
    static QColor bottomBarColor() { return QColor(30, 36, 51); }
    static QColor disabledTrashTitleColor() { return QColor(210, 211, 218); }
    static QColor headerCountTextColor() { return QColor(51, 58, 81); }

    // A sheet window's palette, its box's frame and the artwork of the box's header strips.
    static void styleSheetWindow(QWidget *window, QWidget *box);
};
