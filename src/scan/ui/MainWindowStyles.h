// The looks of the main window's controls that its set-up gives them: the Scan button, the flat
// rounded buttons of the sheets, and the boxes' corners and artwork.
#pragma once

#include <QColor>

#include "controls/ControlStyles.h"
#include "scan/ui/ScanControls.h"

class MainWindowStyles
{
public:
    static void styleScanButtonTitle(IMGButton *button);
    // The blue on-state and grey off-state artwork of the Scan button, and its title colours.
    static void styleScanButtonImages(IMGButton *button);
    static void setCornerRadius(QWidget *box, double radius);
    static void setBackgroundImages(
        GradientBox *box, const QString &start, const QString &middle, const QString &end);
    static void setBackgroundImage(GradientBox *box, const QString &name);
    static void setWhiteTitle(QAbstractButton *button, const QString &title);
    static void setLinkTitle(LinkButton *button, const QString &title, int fontSize, bool bold);

    // The flat button styles of the cloud sheets (the Stop button's is ControlStyles').
    static FlatButtonStyle scanComputerStyle();
    static FlatButtonStyle allowPermissionStyle();
    static FlatButtonStyle addFolderCloudScanStyle();
    static FlatButtonStyle cancelCloudFolderScanStyle();
};
