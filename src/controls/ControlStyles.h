// The looks several windows share: the dark slate palette of the main and results windows and the
// flat rounded buttons of their sheets.
#pragma once

#include <QColor>
#include <QList>

class CFMButton;
class QFrame;
class QPainter;
class QRect;
class IMGButton;
class QAbstractButton;
class QString;
class QWidget;

// One flat rounded button's colours and shape; a negative radius is that fraction of the height.
struct FlatButtonStyle {
    QColor inside, insideDisabled, text, textDisabled, border, borderDisabled;
    double radius = 0.0;
    double outerLineWidth = 0.0;
};

class ControlStyles
{
public:
    static void styleFlatButton(CFMButton *button, const FlatButtonStyle &style);
    // The window's dark slate look with white texts, for the main view, the results view and their
    // sheets.
    static void applyWindowPalette(QWidget *window);
    // A slightly lighter panel inside the window.
    static void applyPanelPalette(QWidget *panel);
    // A light edge around the panel that fills a borderless sheet: without it, where the sheet
    // lies over a part of the window of its own colour, that part seems to run on into the sheet.
    static void applySheetEdge(QFrame *panel);
    // A radio button or check box whose box stands out on the dark window: a light outline, filled
    // blue while chosen, dimmed while disabled, box and title framed by the focus mark.
    static void styleChoiceButton(QAbstractButton *button);

    // The dark outlined button of the Stop button and of the results window's sheets.
    static FlatButtonStyle stopAddingPhotosStyle();
    // A sheet's main button: the images "<prefix>_left", "_mid" and "_right" in every state and a
    // bold white 14-point title.
    static void styleSheetImageButton(IMGButton *button, const QString &imagePrefix);

    // The keyboard focus: a light blue line inside a dark one. Whatever lies behind the mark, one
    // of the two stands out from it at 3:1 at least (the light one on dark windows, the dark one
    // on light windows and light or coloured buttons).
    static QColor focusMarkColor();
    // Set on a widget that frames its own focus: the application style adds no mark of its own.
    static constexpr const char *kOwnFocusMark = "ownFocusMark";
    static QColor focusHaloColor();
    // The inner line of the mark on a button whose face has the colours `faces`: the light blue line
    // where it stands out from all of them at 3:1, else a white one, else the dark one (whichever
    // stands out best when none reaches 3:1).
    static QColor focusMarkColorOn(const QList<QColor> &faces);
    // Drawn inside `rect`, the inner line in `line`; thinner lines for a frame drawn tight around a
    // label.
    static void drawFocusMark(QPainter &painter, const QRect &rect, qreal lineWidth = 2);
    static void drawFocusMark(QPainter &painter, const QRect &rect, qreal lineWidth, const QColor &line);
    // The contrast of two colours as the accessibility guidelines compute it: 1 (none) to 21.
    static double contrastRatio(const QColor &a, const QColor &b);
};
