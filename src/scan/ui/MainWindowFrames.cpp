#include "scan/ui/MainWindowFrames.h"

#include <QHash>

namespace
{

QList<InterfaceFrame> mainViewFrames()
{
    return {
        { "view", "", { 0, 0, 1040, 660 } },
        { "boxTop", "view", { 0, 620, 1040, 40 } },
        { "boxLeft", "view", { 0, 70, 680, 550 } },
        { "rightViewOfMainWindow", "view", { 680, 70, 360, 550 } },
        { "boxFooter", "view", { 0, 0, 1040, 70 } },
        { "btnCompare", "view", { 395, 14, 250, 42 } },
        { "lblFilePaths", "view", { 27, 575, 626, 20 } },
        { "boxTableHeader", "view", { 27, 545, 626, 24 } },
        { "boxAddWindow", "view", { 27, 170, 626, 375 } },
        { "tvPath", "boxAddWindow", { 0, 0, 626, 375 } },
        { "boxForHint", "boxAddWindow", { 70, 195, 486, 6 } },
        { "lblDragPhotosTitle", "boxAddWindow", { 30, 210, 566, 30 } },
        { "lblHintForDrag", "boxAddWindow", { 50, 120, 526, 70 } },
        { "btnAddPhotos", "view", { 27, 128, 130, 28 } },
        { "btnAddPhotosLib", "view", { 164, 128, 170, 28 } },
        { "btnAddFolder", "view", { 341, 128, 130, 28 } },
        { "btnPopupForScanSelection", "view", { 478, 128, 175, 28 } },
        { "customButtonForMenu", "view", { 27, 128, 134, 28 } },
        { "boxFilter", "view", { 27, 80, 626, 38 } },
        { "btnScanLastImport", "view", { 35, 88, 220, 22 } },
        { "btnCaptureDate", "view", { 260, 86, 130, 26 } },
        { "btnCapturePeriod", "view", { 395, 86, 160, 26 } },
        { "btnToolTip", "view", { 560, 88, 22, 22 } },
    };
}

QList<InterfaceFrame> optionFrames()
{
    return {
        { "boxRightPattern", "rightViewOfMainWindow", { 0, 0, 360, 550 } },
        { "boxComparisonMethod", "rightViewOfMainWindow", { 15, 440, 330, 100 } },
        { "btnExactMatch", "boxComparisonMethod", { 15, 70, 145, 22 } },
        { "btnSimilarMatch", "boxComparisonMethod", { 170, 70, 150, 22 } },
        { "imgViewFirst", "boxComparisonMethod", { 50, 8, 100, 56 } },
        { "imgViewSecond", "boxComparisonMethod", { 180, 8, 100, 56 } },
        { "boxMatchingLevel", "rightViewOfMainWindow", { 15, 355, 330, 75 } },
        { "lblMatchingLevel", "boxMatchingLevel", { 12, 50, 306, 18 } },
        { "sliderInitialMatching", "boxMatchingLevel", { 12, 24, 306, 24 } },
        { "lblPartialMatch", "boxMatchingLevel", { 12, 5, 140, 16 } },
        { "lblExactMatch", "boxMatchingLevel", { 178, 5, 140, 16 } },
        { "boxBitmapSize", "rightViewOfMainWindow", { 15, 270, 330, 75 } },
        { "lblBitmapSizeHeading", "boxBitmapSize", { 12, 50, 180, 18 } },
        { "lblBitMapSize", "boxBitmapSize", { 192, 50, 126, 18 } },
        { "sliderBitMap", "boxBitmapSize", { 12, 24, 306, 24 } },
        { "lblPerformance", "boxBitmapSize", { 12, 5, 140, 16 } },
        { "lblQuality", "boxBitmapSize", { 178, 5, 140, 16 } },
        { "boxTimeInterval", "rightViewOfMainWindow", { 15, 185, 330, 75 } },
        { "lblTimeInterval", "boxTimeInterval", { 12, 50, 180, 18 } },
        { "lblTimeIntervalValue", "boxTimeInterval", { 192, 50, 126, 18 } },
        { "sliderTimeInterval", "boxTimeInterval", { 12, 24, 306, 24 } },
        { "lblMore", "boxTimeInterval", { 12, 5, 140, 16 } },
        { "lblLess", "boxTimeInterval", { 178, 5, 140, 16 } },
        { "boxGPS", "rightViewOfMainWindow", { 15, 100, 330, 75 } },
        { "lblGPS", "boxGPS", { 12, 50, 180, 18 } },
        { "lblGPSDistance", "boxGPS", { 192, 50, 126, 18 } },
        { "sliderGPSDistance", "boxGPS", { 12, 24, 306, 24 } },
        { "lblMoreGPS", "boxGPS", { 12, 5, 140, 16 } },
        { "lblLessGPS", "boxGPS", { 178, 5, 140, 16 } },
        { "boxRotateFlip", "rightViewOfMainWindow", { 15, 10, 330, 80 } },
        { "btnIncludeRotateImages", "boxRotateFlip", { 12, 52, 306, 22 } },
        { "btnIncludeFlipImages", "boxRotateFlip", { 12, 28, 306, 22 } },
        // The link's own room for its focus mark lies around the title, which stands under the boxes.
        { "btnLinkScanVideo", "boxRotateFlip", { 6, 2, 318, 25 } },
        { "btnScanVideo", "boxRotateFlip", { 12, 20, 306, 22 } },
    };
}

QList<InterfaceFrame> sheetFrames()
{
    return {
        { "windowAddImages", "", { 0, 0, 560, 300 } },
        { "boxMainWindowAdd", "windowAddImages", { 0, 0, 560, 300 } },
        { "boxAddingPhotosHeader", "boxMainWindowAdd", { 0, 250, 560, 50 } },
        { "lblAddingPhotos", "boxAddingPhotosHeader", { 20, 13, 520, 24 } },
        { "lblPleaseBePatient", "boxMainWindowAdd", { 185, 222, 355, 18 } },
        { "progressCircular", "boxMainWindowAdd", { 30, 80, 130, 130 } },
        { "lblScanPer", "boxMainWindowAdd", { 30, 135, 130, 20 } },
        { "lblAdd", "boxMainWindowAdd", { 185, 185, 355, 18 } },
        { "lblPhotosAdded", "boxMainWindowAdd", { 185, 155, 200, 18 } },
        { "lblPhotosAddedCount", "boxMainWindowAdd", { 390, 155, 150, 18 } },
        { "lblDiscSpaceToFree", "boxMainWindowAdd", { 185, 128, 200, 18 } },
        { "lblDuplicatePhotosSize", "boxMainWindowAdd", { 390, 128, 150, 18 } },
        { "lblPhotosCompared", "boxMainWindowAdd", { 185, 101, 200, 18 } },
        { "lblPhotosComparedCount", "boxMainWindowAdd", { 390, 101, 150, 18 } },
        { "lblScanPath", "boxMainWindowAdd", { 20, 52, 520, 18 } },
        { "indProgressBar", "boxMainWindowAdd", { 20, 36, 520, 10 } },
        { "btnStopAddingPhotos", "boxMainWindowAdd", { 440, 8, 100, 24 } },
        { "windowCloudAuthorization", "", { 0, 0, 540, 380 } },
        { "boxForAuthorization", "windowCloudAuthorization", { 0, 0, 540, 380 } },
        { "lblDriveInfoHeader", "boxForAuthorization", { 20, 330, 500, 30 } },
        { "lblDriveInfoSteps", "boxForAuthorization", { 20, 298, 500, 22 } },
        { "lblDriveInfoSteps1", "boxForAuthorization", { 40, 262, 480, 20 } },
        { "lblDriveInfoSteps1Sub", "boxForAuthorization", { 60, 238, 460, 20 } },
        { "lblDriveInfoSteps2", "boxForAuthorization", { 40, 202, 480, 20 } },
        { "lblDriveInfoSteps2Sub", "boxForAuthorization", { 60, 178, 460, 20 } },
        { "lblDriveInfoSteps3", "boxForAuthorization", { 40, 142, 480, 20 } },
        { "lblDriveInfoSteps3Sub", "boxForAuthorization", { 60, 118, 460, 20 } },
        { "lblWaitingForBrowser", "boxForAuthorization", { 20, 74, 500, 36 } },
        { "indWaitingForBrowser", "boxForAuthorization", { 20, 64, 500, 6 } },
        { "btnScanComputer", "boxForAuthorization", { 20, 20, 200, 32 } },
        { "btnCancelCloudAuthorization", "boxForAuthorization", { 240, 20, 130, 32 } },
        { "btnAllowPermission", "boxForAuthorization", { 390, 20, 130, 32 } },
        { "windowCloudFolderList", "", { 0, 0, 440, 440 } },
        { "boxCloudFolderList", "windowCloudFolderList", { 0, 0, 440, 440 } },
        { "lblIncludeToScan", "boxCloudFolderList", { 20, 400, 340, 20 } },
        { "btnRefreshCloudScanFolderList", "boxCloudFolderList", { 392, 398, 28, 24 } },
        { "outlineCloudFolderList", "boxCloudFolderList", { 20, 70, 400, 320 } },
        { "hudCloudFolderList", "boxCloudFolderList", { 200, 220, 40, 12 } },
        { "btnCancelCloudFolderScan", "boxCloudFolderList", { 100, 20, 150, 32 } },
        { "btnAddFolderCloudScan", "boxCloudFolderList", { 270, 20, 150, 32 } },
    };
}

QHash<QString, qsizetype> &indexByName()
{
    static QHash<QString, qsizetype> index;
    return index;
}

} // namespace

const QList<InterfaceFrame> &MainWindowFrames::entries()
{
    static const QList<InterfaceFrame> all = [] {
        QList<InterfaceFrame> list = mainViewFrames() + optionFrames() + sheetFrames();
        for (qsizetype i = 0; i < list.size(); ++i)
            indexByName().insert(list.at(i).name, i);
        return list;
    }();
    return all;
}

QRectF MainWindowFrames::frame(const QString &name)
{
    const QList<InterfaceFrame> &all = entries();
    const qsizetype i = indexByName().value(name, -1);
    return i >= 0 ? all.at(i).frame : QRectF();
}

QString MainWindowFrames::parentOf(const QString &name)
{
    const QList<InterfaceFrame> &all = entries();
    const qsizetype i = indexByName().value(name, -1);
    return i >= 0 ? all.at(i).parent : QString();
}

QList<InterfaceFrame> MainWindowFrames::children(const QString &parent)
{
    QList<InterfaceFrame> result;
    for (const InterfaceFrame &entry : entries())
        if (entry.parent == parent)
            result.append(entry);
    return result;
}
