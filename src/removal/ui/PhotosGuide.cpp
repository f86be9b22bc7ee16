// The library guide's layout, the opening of the library and the permission sheet.
#include "removal/ui/PhotosGuide.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/LocalAlbumStore.h"
#include "platform/Log.h"
#include "platform/PhotosLibraryBridge.h"
#include "platform/TextFormat.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/FrameGeometry.h"
#include "results/ui/AlbumFileNote.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultViewController.h"

namespace
{

using Step = GlobalObjects::StepNumberForPhotos;

// The guide's width when its texts are shorter.
constexpr int kGuideWidth = 560;

QString text(const QString &key)
{
    return localizedString(key);
}

// The library of the first marked library item of the shown groups, in shown order.
QString firstMarkedLibraryPath(const ResultViewController &c)
{
    for (const auto &group : c.arrGroups) {
        for (const auto &member : group->filterChildren) {
            if (member->isPhotosNode && member->isMark && !member->isTrashed)
                return member->libraryPath;
        }
    }
    return {};
}

} // namespace

PhotosGuide::PhotosGuide(ResultViewController &controller, ResultSheets &sheets,
    std::shared_ptr<PhotosLibraryBridge> bridge, QObject *parent)
    : QObject(parent)
    , m_c(controller)
    , m_sheets(sheets)
    , m_bridge(std::move(bridge))
{
    m_sheets.showPhotosStepsWindow = [this] { showPhotosStepsWindow(); };
    m_sheets.isPhotosApplicationRunning = [this] { return m_bridge && m_bridge->isRunning(); };
}

QString PhotosGuide::instructionKey(int step)
{
    switch (step) {
    case 1:
        return QStringLiteral("ID_LIBRARY_STEP1_NOT_CHANGED_HERE");
    case 2:
        return QStringLiteral("ID_LIBRARY_STEP2_ALBUM_FILE");
    case 3:
        return QStringLiteral("ID_LIBRARY_STEP3_AFTER_CONTINUE");
    case 4:
        return QStringLiteral("ID_LIBRARY_STEP4_DELETE_IN_LIBRARY_PROGRAM");
    default:
        return {};
    }
}

QString PhotosGuide::albumFilePath() const
{
    return albumFilePath(m_bridge.get());
}

QString PhotosGuide::albumFilePath(const PhotosLibraryBridge *bridge)
{
    const auto *store = dynamic_cast<const LocalAlbumStore *>(bridge);
    return store ? store->filePath() : LocalAlbumStore::defaultFilePath();
}

void PhotosGuide::showPhotosStepsWindow()
{
    const QString album = ScanGlobals::markedPhotosAlbumName();
    m_sheets.boxPhotosSyncInfo->setPath(albumFilePath());
    m_sheets.boxPhotosSyncInfo->hide();
    m_sheets.lblPhtosAppTitel->setText(
        formatText(text(QStringLiteral("ID_PLEASE_FOLLOW_STEPS_TO_CLEAN_MARKED_PHOTOS")), album));
    if (!m_c.stepNumber)
        return;
    const int step = int(*m_c.stepNumber);
    QPushButton *next = m_sheets.btnNextForPhotosApp, *previous = m_sheets.btnPreviousForPhotosApp,
                *proceed = m_sheets.btnCountinueForPhotosApp, *close = m_sheets.btnCancelForPhotosApp;
    switch (step) {
    case 1:
        close->show();
        next->show();
        previous->hide();
        proceed->hide();
        break;
    case 2:
        previous->show();
        next->show();
        proceed->hide();
        break;
    default:
        proceed->show();
        next->hide();
        break;
    }
    // The step that speaks of the album file, and the last one, show where it is.
    m_sheets.boxPhotosSyncInfo->setVisible(step == 2 || step == 4);
    next->setDefault(step <= 2);
    proceed->setDefault(step >= 3);
    const QList<QWidget *> views { m_sheets.viewStepOne, m_sheets.viewStepTwo, m_sheets.viewStepThree,
        m_sheets.viewStepFour };
    for (int i = 0; i < views.size(); ++i)
        views[i]->setVisible(i + 1 == step);
    m_sheets.lblStepText->setText(formatText(text(instructionKey(step)), album));
    fitSheetToStep();
}

void PhotosGuide::fitSheetToStep()
{
    QWidget *sheet = m_sheets.windowForPhotosApp;
    if (!sheet)
        return;
    m_sheets.boxPhotosSyncInfo->fitSheetToScreen(
        sheet, m_c.view() ? m_c.view()->screen() : QGuiApplication::primaryScreen(), kGuideWidth);
    if (sheet->isWindow() && sheet->isVisible())
        FrameGeometry::centerOver(sheet, sheet->parentWidget());
}

void PhotosGuide::openPhotosLibrary(const QString &path)
{
    Log::line(QStringLiteral("Opening the photo library: ") + path);
    if (m_bridge)
        m_bridge->openLibrary(path);
}

void PhotosGuide::showGuide()
{
    showPhotosStepsWindow();
    openPhotosLibrary(firstMarkedLibraryPath(m_c));
    QPointer<PhotosGuide> self(this);
    // The library gets its moment to open without blocking the window.
    QTimer::singleShot(openDelayMs, this, [self] {
        if (!self)
            return;
        AlertPresenter &presenter = AlertPresenter::current();
        presenter.beginSheet(self->m_sheets.windowForPhotosApp, self->m_c.view());
        presenter.runModalForWindow(self->m_sheets.windowForPhotosApp);
        QPointer<ResultViewController> c(&self->m_c);
        Dispatch::main([c] {
            if (c)
                c->updateFooterInfo();
        });
    });
}

void PhotosGuide::showAuthorizationWindow()
{
    AlertPresenter::current().beginSheet(m_sheets.windowAuthorization, m_c.view());
}
