#include "scan/ui/MainWindowSetup.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include "app/LocalizedString.h"
#include "app/MenuMnemonics.h"
#include "app/OSVersionFlags.h"
#include "controls/ControlFonts.h"
#include "controls/DoubleSlider.h"
#include "platform/TextFormat.h"
#include "platform/ui/BundleImage.h"
#include "scan/ui/MainWindowStyles.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/PopUpButton.h"

namespace
{

const QString kProductName = QStringLiteral("Quennary");

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

void MainWindowSetup::setupCloudSheetTexts(MainWindowWidgets &c)
{
    const QString cloudName = text("ID_DROPBOX");
    c.lblDriveInfoHeader->setText(formatText(text("ID_QNY_DRIVE_INFO_HEADER"), kProductName, cloudName));
    c.lblDriveInfoSteps->setText(formatText(text("ID_QNY_DRIVE_INFO_STEPS_HEADER"), kProductName, cloudName));
    c.lblDriveInfoSteps1->setText(text("ID_QNY_DRIVE_INFO_STEP1"));
    c.lblDriveInfoSteps1Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP1_SUB"), cloudName));
    c.lblDriveInfoSteps2->setText(text("ID_QNY_DRIVE_INFO_STEP2"));
    c.lblDriveInfoSteps2Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP2_SUB"), cloudName));
    c.lblDriveInfoSteps3->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP3"), cloudName));
    c.lblDriveInfoSteps3Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP3_SUB"), cloudName));
    c.btnScanComputer->setText(text("ID_QNY_SCAN_COMPUTER"));
    c.btnAllowPermission->setText(text("ID_QNY_DRIVE_INFO_ALLOW"));
    c.lblWaitingForBrowser->setText(formatText(text("ID_WAITING_FOR_BROWSER_SIGN_IN"), cloudName));
    c.btnCancelCloudFolderScan->setText(text("ID_CANCEL"));
    c.btnAddFolderCloudScan->setText(text("ID_ADD"));

    const QString language = Localization::currentLanguageCode();
    if (language == QLatin1String("ru")) {
        c.lblDriveInfoSteps->setFont(ControlFonts::systemFont(10, QFont::DemiBold));
        c.lblDriveInfoSteps1->setFont(ControlFonts::systemFont(12));
    } else if (language == QLatin1String("nl")) {
        c.lblDriveInfoSteps->setFont(ControlFonts::systemFont(10, QFont::DemiBold));
    } else if (language == QLatin1String("de") || language == QLatin1String("sv")) {
        c.lblDriveInfoSteps->setFont(ControlFonts::systemFont(11, QFont::DemiBold));
    }
}

void MainWindowSetup::setupTitles(MainWindowWidgets &c)
{
    const QList<std::pair<QWidget *, const char *>> titles = {
        { c.btnStopAddingPhotos, "ID_STOP" },
        { c.lblPartialMatch, "ID_LOW" },
        { c.lblExactMatch, "ID_HIGH" },
        { c.lblPerformance, "ID_PERFORMANCE" },
        { c.lblQuality, "ID_QUALITY" },
        { c.lblMore, "ID_MORE" },
        { c.lblLess, "ID_LESS" },
        { c.lblMoreGPS, "ID_MORE" },
        { c.lblLessGPS, "ID_LESS" },
        { c.lblPleaseBePatient, "ID_PATIENT_WHILE_SCAN_DUPLICATES" },
        { c.lblMatchingLevel, "ID_MATCHING_LEVEL" },
        { c.lblBitmapSizeHeading, "ID_BITMAP_SIZE" },
        { c.lblTimeInterval, "ID_TIME_INTERVEL" },
        { c.lblGPS, "ID_GPS" },
        { c.btnCompare, "ID_SCAN_DUPLICATES" },
        { c.btnAddPhotos, "ID_ADD_PHOTOS" },
        { c.btnAddPhotosLib, "ID_ADD_PHOTOS_LIBRARY" },
        { c.btnAddFolder, "ID_ADD_FOLDER" },
        { c.lblFilePaths, "ID_FILE_PATH" },
    };
    for (const auto &[widget, key] : titles) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setText(text(key));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(text(key));
    }
    // A paragraph, so that the tool tip wraps.
    for (QWidget *widget : { static_cast<QWidget *>(c.sliderTimeInterval.data()), static_cast<QWidget *>(c.lblTimeInterval.data()) })
        widget->setToolTip(QStringLiteral("<p>%1</p>").arg(text("ID_TIME_INTERVEL_FILE_DATES").toHtmlEscaped()));
    const QList<std::pair<QAction *, QString>> items = {
        { c.menuItemToday, text("ID_TODAY") },
        { c.menuItemYesterday, text("ID_YESTERDAY") },
        { c.menuItemLast7Days, formatText(text("ID_WITHIN_LAST_DAYS"), 7) },
        { c.menuItemLast15Days, formatText(text("ID_WITHIN_LAST_DAYS"), 15) },
        { c.menuItemLastMonth, text("ID_LAST_MONTH") },
        { c.menuItemLastYear, text("ID_LAST_YEAR") },
        { c.menuItemSinceBeginning, text("ID_SINCE_BEGINNING") },
        { c.menuItemRevealInFinder, text("ID_REVEAL_IN_FINDER") },
        { c.menuItemCheckAll, text("ID_CHECK_ALL") },
        { c.menuItemUncheckAll, text("ID_UNCHECK_ALL") },
        { c.menuItemRemoveFromScanList, text("ID_REMOVE_FROM_SCAN_LIST") },
        { c.menuItemRemoveAllFromScanList, text("ID_REMOVE_ALL_FROM_SCAN_LIST") },
        { c.subMenuCreated, text("ID_CREATED") },
        { c.subMneuCaptured, text("ID_CAPTUREED") },
        { c.subMneuImported, text("ID_IMPORTED") },
        { c.subMenuBoth, text("ID_BOTH") },
    };
    for (const auto &[item, title] : items)
        item->setText(title);
    MenuMnemonics::applyTo(c.menuScanList->actions());
    MainWindowStyles::styleScanButtonTitle(c.btnCompare);
}

void MainWindowSetup::styleCloudButtons(MainWindowWidgets &c)
{
    ControlStyles::styleFlatButton(c.btnScanComputer, MainWindowStyles::scanComputerStyle());
    ControlStyles::styleFlatButton(c.btnAllowPermission, MainWindowStyles::allowPermissionStyle());
    ControlStyles::styleFlatButton(
        c.btnCancelCloudAuthorization, MainWindowStyles::cancelCloudFolderScanStyle());
    c.btnCancelCloudAuthorization->setText(text("ID_CANCEL"));
    ControlStyles::styleFlatButton(c.btnAddFolderCloudScan, MainWindowStyles::addFolderCloudScanStyle());
    ControlStyles::styleFlatButton(
        c.btnCancelCloudFolderScan, MainWindowStyles::cancelCloudFolderScanStyle());
    c.lblIncludeToScan->setText(text("ID_INCLUDE_TO_SCAN"));
    c.btnCancelCloudFolderScan->setText(text("ID_CANCEL"));
    c.btnAddFolderCloudScan->setText(text("ID_ADD"));
    ControlStyles::styleFlatButton(c.btnStopAddingPhotos, ControlStyles::stopAddingPhotosStyle());
}

void MainWindowSetup::setupScanSourcePopup(MainWindowWidgets &c)
{
    const QList<std::pair<const char *, const char *>> sources = { { "ID_FINDER", "file-explorer" },
        { "ID_GOOGLE_DRIVE", "google-drive-icon" }, { "ID_DROPBOX", "dropbox_icon" } };
    for (int i = 0; i < int(sources.size()); ++i) {
        QAction *item = c.btnPopupForScanSelection->itemAtIndex(i);
        if (!item)
            continue;
        item->setText(text(sources.at(i).first));
        item->setIcon(
            QIcon(BundleImage::named(QString::fromLatin1(sources.at(i).second)).pixmap(QSize(16, 16))));
    }
    c.btnPopupForScanSelection->setToolTip(text("ID_FINDER"));
}

void MainWindowSetup::setupProgressSheet(MainWindowWidgets &c)
{
    const double radius = OSVersionFlags::isOS11OrLater ? 0 : 5;
    MainWindowStyles::setCornerRadius(c.boxMainWindowAdd, radius);
    MainWindowStyles::setCornerRadius(c.boxAddingPhotosHeader, radius);
    MainWindowStyles::setBackgroundImages(c.boxAddingPhotosHeader, QStringLiteral("box_header_left"),
        QStringLiteral("box_header_mid"), QStringLiteral("box_header_right"));
    c.lblDiscSpaceToFree->setText(text("ID_DISK_SPACE_TO_FREE_UP"));
    c.lblPhotosAdded->setText(text("ID_PHOTOS_ADDED"));
}
