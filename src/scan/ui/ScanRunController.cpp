#include "scan/ui/ScanRunController.h"

#include <algorithm>

#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "controls/CFMButton.h"
#include "controls/CircularProgressBarView.h"
#include "controls/DoubleSlider.h"
#include "controls/IMGButton.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/OutsideText.h"
#include "platform/SilentOwnFolders.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "results/ShownGroups.h"
#include "results/ui/ResultViewController.h"
#include "scan/NoPhotosMessage.h"
#include "scan/ScanProgressTexts.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/ComparisonOptionsView.h"
#include "scan/ui/MainWindowHost.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanListState.h"

namespace
{

// What the scan's alerts tell: the walk's report, and a folder of the program's own that stopped
// answering while the scan ran (the scan went on without what it would have written there).
WalkReport reportToTell(const ScanSession *session)
{
    WalkReport report = session ? session->walkReport : WalkReport();
    if (report.firstSilentOwnFolder.isEmpty())
        report.firstSilentOwnFolder = SilentOwnFolders::stoppedAnswering().value(0);
    return report;
}

// A full ring: the stages write 100 when they have finished.
constexpr double kFullRing = 100.0;
// Resolution of the progress bar, which shows the same fraction as the ring.
constexpr int kBarSteps = 1000;
constexpr double kResultsDelaySeconds = 3.0;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

void setLabel(QLabel *label, const std::optional<QString> &value)
{
    if (label && value)
        label->setText(*value);
}

void setRing(CircularProgressBarView *ring, QLabel *percent, double fraction, const QString &percentText)
{
    if (ring) {
        ring->progress = fraction;
        ring->update();
    }
    if (percent)
        percent->setText(percentText);
}

} // namespace

ScanRunController::ScanRunController(
    MainWindowWidgets &widgets, ScanListState &listState, MainWindowHost &windowHost, ResultViewController &result)
    : c(widgets)
    , state(listState)
    , host(windowHost)
    , m_result(result)
{
    ScanEngine::Callbacks callbacks;
    callbacks.progress = [this](const ScanProgress &progress) { showProgress(progress); };
    callbacks.comparisonComplete = [this] { showComparisonComplete(); };
    callbacks.finished
        = [this](ScanEngine::Outcome outcome, const QList<std::shared_ptr<DuplicatesGroup>> &groups) {
              scanFinished(outcome, groups);
          };
    m_engine = std::make_unique<ScanEngine>(std::move(callbacks));
    m_engine->setResultsDelay(kResultsDelaySeconds);
}

ScanRunController::~ScanRunController() = default;

void ScanRunController::setResultsDelay(double seconds)
{
    m_engine->setResultsDelay(seconds);
}

void ScanRunController::btnStartScanTapped()
{
    if (m_engine->isRunning())
        return;
    host.view();
    // The Stop button only matters while the sheet is up, so it is wired when a scan first starts.
    connect(c.btnStopAddingPhotos, &QAbstractButton::clicked, this,
        &ScanRunController::btnStopAddPhotosTapped, Qt::UniqueConnection);
    // A folder of the program's own on a share gone silent is passed over by everything below: the
    // scan goes on without its cache.
    const QStringList silentOwnFolders = SilentOwnFolders::look();
    for (const QString &folder : silentOwnFolders)
        Log::line(QStringLiteral("The scan goes on without the program's folder %1: it is not answering")
                      .arg(folder));
    CommonFunc::removeThumbnailsFolder();
    resetScanState();
    resetSheetTexts();
    loadScanOptions();
    m_options.silentOwnFolders = silentOwnFolders;
    host.scanList().loadAllowedExtensions();
    host.showAddingPhotosSheet();
    applyModeSettings();
    if (isCloudSource(ScanGlobals::scanType.load())) {
        // A cloud source lists its files itself and joins the road at the cache hand-over.
        if (startCloudListing)
            startCloudListing();
        else
            host.dismissAddingPhotosSheet();
        return;
    }
    m_engine->start(m_options, state.arrPathNodes);
}

void ScanRunController::resetScanState()
{
    if (c.indProgressBar)
        c.indProgressBar->setRange(0, 0);
    state.abortMe = false;
    ComparisonOptionsView::applyMatchingLevelThresholds();
    state.arrImagesContent.clear();
}

void ScanRunController::resetSheetTexts()
{
    const bool withVideos = state.compareType == GlobalObjects::CompareType::ctMD5
        && UserDefaults::standard().boolForKey(QStringLiteral("allowVideoScanning"));
    c.lblScanPath->setText(QString());
    c.lblScanPath->setToolTip(QString());
    c.lblPhotosAddedCount->setText(QStringLiteral("0"));
    c.lblPhotosComparedCount->setText(QStringLiteral("0"));
    c.lblDuplicatePhotosSize->setText(CommonFunc::formattedSize(QVariant::fromValue(quint64(0))));
    c.lblPhotosAdded->setText(text(withVideos ? "ID_PHOTOS_VIDEOS_ADDED" : "ID_PHOTOS_ADDED"));
    c.lblAdd->setText(text("ID_ADDING"));
    setRing(c.progressCircular, c.lblScanPer, 0.0, ScanProgressTexts::percentText(0.0));
}

void ScanRunController::loadScanOptions()
{
    state.countPathAdded = 0;
    const ScanSliderPositions sliders { int(c.sliderBitMap->doubleValue()),
        int(c.sliderGPSDistance->doubleValue()), int(c.sliderTimeInterval->doubleValue()) };
    m_options = ScanOptions::load(UserDefaults::standard(), state.compareType, sliders, ScanGlobals::snapshot());
    m_options.sliderMinValue = float(c.sliderInitialMatching->minValue());
    state.allowedExtensions = m_options.allowedExtensions;
    state.arrVideoExtn = m_options.videoExtensions;
}

void ScanRunController::applyModeSettings()
{
    if (state.compareType == GlobalObjects::CompareType::ctHash) {
        ComparisonOptionsView::applyMatchingLevelThresholds();
        ComparisonOptionsView::showBitmapSize(c);
        ComparisonOptionsView::showGpsDistance(c);
        ComparisonOptionsView::showTimeInterval(c);
        return;
    }
    ScanGlobals::matchThreshold = ScanThresholds::kExactMatchThreshold;
    ScanGlobals::reSizeValue = ScanThresholds::kExactBitmapSize;
}

void ScanRunController::btnStopAddPhotosTapped()
{
    stopAddingPhotos();
}

void ScanRunController::stopAddingPhotos()
{
    state.abortMe = true;
    if (m_engine->isRunning()) {
        m_engine->stop();
        return;
    }
    // A cloud listing that has not handed its records over yet ends at its next check, and its
    // end closes the sheet; without a listing nothing else would.
    if (isCloudSource(ScanGlobals::scanType.load()) && stopCloudListing)
        stopCloudListing();
    if (isCloudSource(ScanGlobals::scanType.load()) && !startCloudListing)
        host.dismissAddingPhotosSheet();
}

void ScanRunController::startFindDuplicateFilesInCloudDrive(const RecordList &records, LocalCopyFetcher fetcher)
{
    Log::line(QStringLiteral("Cloud listing done: ") + Log::counted(records.size(), "file", "files")
        + QStringLiteral(" to compare"));
    QPointer<ScanRunController> self(this);
    Dispatch::mainSync([self, records, fetcher = std::move(fetcher)] {
        if (!self)
            return;
        if (self->state.abortMe.load()) {
            self->host.dismissAddingPhotosSheet();
            // Stopped before the engine took over: the scan still ends, as a stopped local one does.
            emit self->scanEnded(ScanEngine::Outcome::Stopped);
            return;
        }
        self->m_engine->startWithRecords(self->m_options, records, fetcher);
    });
}

void ScanRunController::cloudListingFailed(const QString &reason)
{
    Log::line(QStringLiteral("Cloud listing failed: ") + reason);
    host.dismissAddingPhotosSheet();
    if (!state.abortMe.load()) {
        AlertSpec alert;
        alert.messageText = text("ID_CLOUD_LISTING_FAILED");
        alert.informativeText = reason;
        alert.buttons = { text("ID_OK_CAPS") };
        AlertPresenter::current().runAlert(alert, host.view());
    }
    emit scanEnded(ScanEngine::Outcome::Stopped);
}

void ScanRunController::showProgress(const ScanProgress &progress)
{
    if (!host.isViewLoaded())
        return;
    const ScanProgressTexts texts = ScanProgressTexts::forProgress(progress);
    setLabel(c.lblAdd, texts.lblAdd);
    setLabel(c.lblAddingPhotos, texts.lblAddingPhotos);
    setLabel(c.lblPhotosAdded, texts.lblPhotosAdded);
    setLabel(c.lblPhotosCompared, texts.lblPhotosCompared);
    setLabel(c.lblPhotosAddedCount, texts.lblPhotosAddedCount);
    setLabel(c.lblPhotosComparedCount, texts.lblPhotosComparedCount);
    setLabel(c.lblDuplicatePhotosSize, texts.lblDuplicatePhotosSize);
    setLabel(c.lblScanPath, texts.lblScanPath);
    if (texts.lblScanPathToolTip)
        c.lblScanPath->setToolTip(OutsideText::toolTip(*texts.lblScanPathToolTip));
    if (texts.showPleaseBePatient)
        c.lblPleaseBePatient->show();
    setRing(c.progressCircular, c.lblScanPer, texts.ringProgress, texts.lblScanPer);

    if (progress.stage == ScanProgress::Stage::Adding)
        return;
    // The bar shows the ring's fraction, so the two always agree.
    setBar(progress.fraction);
}

void ScanRunController::setBar(double fraction)
{
    c.indProgressBar->setRange(0, kBarSteps);
    c.indProgressBar->setValue(int(std::clamp(fraction, 0.0, 1.0) * kBarSteps));
}

void ScanRunController::showComparisonComplete()
{
    if (!host.isViewLoaded())
        return;
    setRing(c.progressCircular, c.lblScanPer, kFullRing, ScanProgressTexts::percentText(1.0));
    setBar(1.0);
    // The results open a moment later; until then the sheet says the work is done, title too.
    setLabel(c.lblAddingPhotos, localizedString(QStringLiteral("ID_SCANNED")));
    setLabel(c.lblAdd, localizedString(QStringLiteral("ID_OPENING_RESULTS")));
    setLabel(c.lblScanPath, QString());
    if (c.lblPleaseBePatient)
        c.lblPleaseBePatient->hide();
    // The sheet ends with the figures the results window opens with.
    const std::shared_ptr<const ScanSession> session = m_engine->session();
    if (!session)
        return;
    const ShownGroups::Opening opening
        = ShownGroups::atOpening(ScanEngine::groupsToShow(session->arrAllFilesGrouping), session->options.globals);
    setLabel(c.lblDuplicatePhotosSize, CommonFunc::formattedSize(QVariant::fromValue(quint64(opening.spaceToFree))));
    setLabel(c.lblPhotosComparedCount,
             QStringLiteral("%1/%2").arg(session->countCompared.load()).arg(session->recordCount()));
}

void ScanRunController::scanFinished(
    ScanEngine::Outcome outcome, const QList<std::shared_ptr<DuplicatesGroup>> &groups)
{
    switch (outcome) {
    case ScanEngine::Outcome::Stopped:
        AddingSheet::dismissAddingPhotosSheetOnMain(c);
        break;
    case ScanEngine::Outcome::NoPhotos:
        AddingSheet::dismissAddingPhotosSheetOnMain(c);
        showNoPhotosAlertOnMain();
        break;
    case ScanEngine::Outcome::OnePhoto:
        AddingSheet::dismissAddingPhotosSheetOnMain(c);
        showOnlyOnePhotoAlertOnMain();
        break;
    case ScanEngine::Outcome::Results:
        showResults(groups);
        break;
    }
    emit scanEnded(outcome);
}

void ScanRunController::runAlert(const QString &message, const QString &informative, AlertSpec::Style style)
{
    AlertSpec alert;
    alert.style = style;
    alert.messageText = message;
    alert.informativeText = informative;
    alert.buttons = { text("ID_OK_CAPS") };
    AlertPresenter::current().runAlert(alert, host.view());
}

void ScanRunController::showNoPhotosAlert()
{
    const std::shared_ptr<const ScanSession> session = m_engine->session();
    const WalkReport report = reportToTell(session.get());
    runAlert(NoPhotosMessage::messageText(report),
        NoPhotosMessage::informativeText(
            report, session ? session->options.globals.minimumAllowFileSize : 0));
}

void ScanRunController::showOnlyOnePhotoAlert()
{
    const std::shared_ptr<const ScanSession> session = m_engine->session();
    const WalkReport report = reportToTell(session.get());
    const qint64 minimumFileSize = session ? session->options.globals.minimumAllowFileSize : 0;
    QStringList informative;
    for (const QString &left : { NoPhotosMessage::skippedFoldersText(report), NoPhotosMessage::periodText(report),
             NoPhotosMessage::leftOutFilesText(report, minimumFileSize) }) {
        if (!left.isEmpty())
            informative.append(left);
    }
    informative.append(text("ID_PLS_CHANGE_PREFERENCES"));
    runAlert(text("ID_ONLY_ONE_PHOTO_DETECTED_AT_PATH"), NoPhotosMessage::paragraphs(informative));
}

void ScanRunController::showSkippedFoldersAlert()
{
    const std::shared_ptr<const ScanSession> session = m_engine->session();
    if (!session)
        return;
    const WalkReport report = reportToTell(session.get());
    const QString skipped = NoPhotosMessage::skippedFoldersText(report);
    if (!skipped.isEmpty())
        runAlert(NoPhotosMessage::skippedTitle(report), skipped, AlertSpec::Style::Informational);
}

void ScanRunController::runOnMain(void (ScanRunController::*job)())
{
    QPointer<ScanRunController> self(this);
    Dispatch::main([self, job] {
        if (self)
            (self.data()->*job)();
    });
}

void ScanRunController::showNoPhotosAlertOnMain()
{
    runOnMain(&ScanRunController::showNoPhotosAlert);
}

void ScanRunController::showOnlyOnePhotoAlertOnMain()
{
    runOnMain(&ScanRunController::showOnlyOnePhotoAlert);
}

void ScanRunController::showResults(const QList<std::shared_ptr<DuplicatesGroup>> &groups)
{
    setRing(c.progressCircular, c.lblScanPer, kFullRing, ScanProgressTexts::percentText(1.0));
    AddingSheet::dismissAddingPhotosSheetOnMain(c);
    // The results are not all there were: the folders left out are named before they open.
    showSkippedFoldersAlert();
    const QList<std::shared_ptr<DuplicatesGroup>> shown = ScanEngine::groupsToShow(groups);
    ResultViewController &result = m_result;
    result.arrGroups.assign(shown.cbegin(), shown.cend());
    result.scanWrapper = state.scanWrapper;
    // The results view takes the main view's place in the window's content.
    QWidget *mainView = host.view();
    QWidget *resultView = result.view();
    if (resultView->parentWidget() != mainView->parentWidget())
        resultView->setParent(mainView->parentWidget());
    // The results fill the window's content; the main view keeps its own size.
    QWidget *content = mainView->parentWidget();
    resultView->setGeometry(content ? content->rect() : mainView->geometry());
    const std::shared_ptr<const ScanSession> session = m_engine->session();
    result.walkReport = session ? session->walkReport : WalkReport();
    result.invokeCollectionView(shown, session ? session->options.globals : m_options.globals);
    mainView->hide();
    resultView->show();
    result.showListingTypeView(true);
    c.btnCompare->setState(IMGButton::OnState);
    c.btnCompare->setEnabled(true);
}
