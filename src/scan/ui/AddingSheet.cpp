#include "scan/ui/AddingSheet.h"

#include <QLabel>

#include "app/LocalizedString.h"
#include "app/OSVersionFlags.h"
#include "controls/BlackView.h"
#include "controls/ControlFonts.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "scan/ui/MainWindowWidgets.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

void AddingSheet::showOverlayView(QWidget *view, QWidget *sheet, QWidget *box)
{
    if (OSVersionFlags::isOS11OrLater || !sheet || !box)
        return;
    QWidget *window = view->window();
    sheet->setFixedSize(window->size());
    box->move((sheet->width() - box->width()) / 2, (sheet->height() - box->height()) / 2);
    for (BlackView *old : sheet->findChildren<BlackView *>(Qt::FindDirectChildrenOnly))
        delete old;
    auto *dim = new BlackView(sheet);
    dim->setGeometry(sheet->rect());
    dim->show();
    box->raise();
    sheet->setAttribute(Qt::WA_TranslucentBackground);
}

void AddingSheet::showSheet(QWidget *view, QWidget *sheet, QWidget *box)
{
    AlertPresenter &presenter = AlertPresenter::current();
    if (!sheet || presenter.isSheetOpen(sheet))
        return;
    showOverlayView(view, sheet, box);
    presenter.beginSheet(sheet, view);
}

void AddingSheet::showAddingPhotosSheet(MainWindowWidgets &c, GlobalObjects::CompareType compareType, QWidget *view)
{
    const bool withVideos = compareType == GlobalObjects::CompareType::ctMD5
        && UserDefaults::standard().boolForKey(QStringLiteral("allowVideoScanning"));
    const bool english = Localization::currentLanguageCode() == QLatin1String("en");
    if (withVideos) {
        c.lblAddingPhotos->setText(text("ID_ADDING_PHOTOS_VIDEOS"));
        c.lblPleaseBePatient->setText(text("ID_PATIENT_WHILE_SCAN_DUPLICATES_PHOTOS_VIDEOS"));
    } else {
        c.lblAddingPhotos->setText(text("ID_ADDING_PHOTOS"));
        c.lblPleaseBePatient->setText(text("ID_PATIENT_WHILE_SCAN_DUPLICATES"));
    }
    if (english)
        c.lblPleaseBePatient->setFont(ControlFonts::systemFont(withVideos ? 10 : 13));
    showSheet(view, c.windowAddImages, c.boxMainWindowAdd);
}

void AddingSheet::dismissAddingPhotosSheetOnMain(MainWindowWidgets &c)
{
    if (c.windowAddImages)
        AlertPresenter::current().endSheet(c.windowAddImages);
    c.btnCompare->setState(IMGButton::OnState);
    c.btnCompare->setEnabled(true);
}
