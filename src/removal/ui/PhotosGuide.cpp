// The library guide's layout, the opening of the library and the permission sheet.
#include "removal/ui/PhotosGuide.h"

#include <QPushButton>
#include <QTimer>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/PhotosLibraryBridge.h"
#include "platform/TextFormat.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BundleImage.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultViewController.h"

namespace
{

using Step = GlobalObjects::StepNumberForPhotos;
// The size the step pictures are drawn for.
constexpr QSize kIllustration(460, 271);

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

void setImage(QLabel *view, const QString &name)
{
    const BundleImage image = BundleImage::named(name);
    // A missing picture leaves its view empty.
    view->setPixmap(image.isNull() ? QPixmap() : image.pixmap(image.size().toSize()));
    view->adjustSize();
}

} // namespace

PhotosGuide::PhotosGuide(ResultViewController &controller, ResultSheets &sheets,
    std::shared_ptr<PhotosLibraryBridge> bridge, QObject *parent)
    : QObject(parent)
    , m_c(controller)
    , m_sheets(sheets)
    , m_bridge(std::move(bridge))
{
    buildImageViews();
    m_sheets.showPhotosStepsWindow = [this] { showPhotosStepsWindow(); };
    m_sheets.isPhotosApplicationRunning = [this] { return m_bridge && m_bridge->isRunning(); };
}

void PhotosGuide::buildImageViews()
{
    const std::array<QWidget *, 3> views { m_sheets.viewStepOne, m_sheets.viewStepTwo,
        m_sheets.viewStepThree };
    for (size_t i = 0; i < views.size(); ++i) {
        views[i]->setMinimumSize(kIllustration);
        // Three stacked layers of one illustration.
        imgFrame[i] = new QLabel(views[i]);
        imgPicture[i] = new QLabel(views[i]);
        imgLens[i] = new QLabel(views[i]);
    }
    imgViewStepForPhotos = new QLabel(m_sheets.viewStepFour);
    m_sheets.viewStepFour->setMinimumSize(kIllustration);
}

StepImages PhotosGuide::stepImages(const OsProfile &os, int step)
{
    const auto row = [step](const QString &prefix, const QString &picture13) -> StepImages {
        if (step == 3)
            return { prefix + QStringLiteral("-step3_%@_frame"), QStringLiteral("picture"),
                prefix + QStringLiteral("-step3_%@_lens") };
        return { prefix + QStringLiteral("-step1_%@_frame"), picture13,
            prefix + QStringLiteral("-step1_%@_lens") };
    };
    if (os.isOS15OrLater)
        return row(QStringLiteral("osxM15"), QStringLiteral("pictures-new"));
    if (os.isOS14OrLater || os.isOS13OrLater)
        return row(QStringLiteral("osxM14"), QStringLiteral("pictures-new"));
    if (os.isOS11OrLater)
        return row(QStringLiteral("osx16"), QStringLiteral("pictures-new"));
    if (os.isOS1015)
        return row(QStringLiteral("osx15"), QStringLiteral("picture"));
    if (os.isOS1013Or1014) {
        if (step == 3)
            return { QStringLiteral("osx13-step3_%@_frame"), QStringLiteral("picture"),
                QStringLiteral("osx15-step3_%@_lens") };
        return { QStringLiteral("osx13-step1_%@_frame"),
            step == 1 ? QStringLiteral("osx13-step1_%@_pictures") : QStringLiteral("picture"),
            QStringLiteral("osx15-step1_%@_lens") };
    }
    if (step == 3)
        return row(QStringLiteral("osx11"), QString());
    return { step == 1 ? QStringLiteral("osx11-step1_%@_frame") : QStringLiteral("osx11-step2_%@_frame"),
        step == 1 ? QStringLiteral("osx13-step1_%@_pictures") : QStringLiteral("picture"),
        QStringLiteral("osx11-step1_%@_lens") };
}

StepImages PhotosGuide::stepImages(const OsProfile &os, int step, const QString &languageCode)
{
    StepImages names = stepImages(os, step);
    for (QString *name : { &names.frame, &names.picture, &names.lens })
        *name = formatText(*name, languageCode);
    return names;
}

QString PhotosGuide::instructionKey(const OsProfile &os, int step, bool english)
{
    switch (step) {
    case 1:
        return (os.isOS1015 || os.isOS11OrLater) && english
            ? QStringLiteral("ID_STEP1_LAUNCH_PHOTOS_APP")
            : QStringLiteral("ID_STEP1_LAUNCHPHOTOS_APP_AND_CHOOSE");
    case 2:
        if (os.isOS11OrLater)
            return QStringLiteral("ID_STEP2_OSX16_SELECT_ALL_PHOTOS_ALBUM");
        return os.isOS1015 || os.isOS1013Or1014 ? QStringLiteral("ID_STEP2_OSX13_SELECT_ALL_PHOTOS_ALBUM")
                                                : QStringLiteral("ID_STEP2_SELECT_ALL_PHOTOS_ALBUM");
    case 3:
        if (os.isOS15OrLater && english)
            return QStringLiteral("ID_STEP3_AFTER_YOU_PRESS_CONTINUE_OSXMAJOR15");
        return os.isOS11OrLater && english ? QStringLiteral("ID_STEP3_AFTER_YOU_PRESS_CONTINUE_OSX11")
                                           : QStringLiteral("ID_STEP3_AFTER_YOU_PRESS_CONTINUE");
    case 4:
        return QStringLiteral("ID_STEP4_REVIEW_IMAGES_IN_ALBUMS");
    default:
        return {};
    }
}

void PhotosGuide::showStepImages(int step, const OsProfile &os, const QString &languageCode)
{
    if (step == 4) {
        setImage(imgViewStepForPhotos, QStringLiteral("step_4.jpg"));
        return;
    }
    const StepImages names = stepImages(os, step, languageCode);
    const size_t i = size_t(step - 1);
    setImage(imgFrame[i], names.frame);
    setImage(imgPicture[i], names.picture);
    setImage(imgLens[i], names.lens);
}

void PhotosGuide::showPhotosStepsWindow()
{
    const QString album = ScanGlobals::markedPhotosAlbumName();
    m_sheets.lblPhtosAppTitel->setText(
        formatText(text(QStringLiteral("ID_PLEASE_FOLLOW_STEPS_TO_CLEAN_MARKED_PHOTOS")), album));
    if (!m_c.stepNumber)
        return;
    const int step = int(*m_c.stepNumber);
    const OsProfile os = OsProfile::current();
    const QString language = Localization::currentLanguageCode();
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
    next->setDefault(step <= 2);
    proceed->setDefault(step >= 3);
    const QList<QWidget *> views { m_sheets.viewStepOne, m_sheets.viewStepTwo, m_sheets.viewStepThree,
        m_sheets.viewStepFour };
    for (int i = 0; i < views.size(); ++i)
        views[i]->setVisible(i + 1 == step);
    const QString instruction = text(instructionKey(os, step, language == QStringLiteral("en")));
    m_sheets.lblStepText->setText(step >= 3 ? formatText(instruction, album) : instruction);
    showStepImages(step, os, language);
}

void PhotosGuide::openPhotosLibrary(const QString &path)
{
    Log::line(QStringLiteral("Photos Open Path == ") + path);
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
