// The looks of the main window's controls that its set-up gives them: the Scan button, the flat
// rounded buttons of the sheets, and the boxes' corners and artwork.
#pragma once

#include <QColor>

#include "scan/ui/ScanControls.h"

// One flat rounded button's colours and shape; a negative radius is that fraction of the height.
struct FlatButtonStyle {
    QColor inside, insideDisabled, text, textDisabled, border, borderDisabled;
    double radius = 0.0;
    double outerLineWidth = 0.0;
};

class MainWindowStyles
{
public:
    static void styleScanButtonTitle(IMGButton *button);
    // The blue on-state and grey off-state artwork of the Scan button, and its title colours.
    static void styleScanButtonImages(IMGButton *button);
    static void styleFlatButton(CFMButton *button, const FlatButtonStyle &style);
    static void setCornerRadius(QWidget *box, double radius);
    // The window's dark slate look with white texts, for the main view and its sheets.
    static void applyWindowPalette(QWidget *window);
    // A slightly lighter panel inside the window.
    static void applyPanelPalette(QWidget *panel);
    static void setBackgroundImages(
        GradientBox *box, const QString &start, const QString &middle, const QString &end);
    static void setBackgroundImage(GradientBox *box, const QString &name);
    static void setWhiteTitle(QAbstractButton *button, const QString &title);
    static void setLinkTitle(LinkButton *button, const QString &title, int fontSize, bool bold);

    // The flat button styles of the cloud sheets and of the Stop button.
    static FlatButtonStyle scanComputerStyle();
    static FlatButtonStyle allowPermissionStyle();
    static FlatButtonStyle addFolderCloudScanStyle();
    static FlatButtonStyle cancelCloudFolderScanStyle();
    static FlatButtonStyle stopAddingPhotosStyle();
};
