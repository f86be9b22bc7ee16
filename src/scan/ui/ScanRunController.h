// The main window's side of a scan: the Scan button's start (state reset, thresholds, options, the
// adding sheet), the progress the engine reports, the Stop button, the two early-out alerts and
// the hand-over of the groups to the results view. The walk, hashing and grouping themselves run
// in ScanEngine; this class only connects them to the window.
#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QObject>

#include "platform/ui/AlertPresenter.h"
#include "scan/ScanEngine.h"
#include "scan/ScanOptions.h"

class DuplicatesGroup;
class MainWindowHost;
class ResultViewController;
struct MainWindowWidgets;
struct ScanListState;

class ScanRunController : public QObject
{
    Q_OBJECT
public:
    ScanRunController(
        MainWindowWidgets &widgets, ScanListState &state, MainWindowHost &host, ResultViewController &result);
    ~ScanRunController() override;

    // GUI thread. The Scan button: resets the scan state, fixes the thresholds, loads the options,
    // opens the adding sheet and starts the walk in the background. Ignored while a scan runs.
    void btnStartScanTapped();
    // The options of the scan being started, read from the settings and the window's sliders.
    void loadScanOptions();

    // GUI thread. The Stop button: every stage ends at its next check and the sheet closes once
    // the running jobs have returned; no alert and no results follow.
    void btnStopAddPhotosTapped();
    void stopAddingPhotos();

    // A cloud listing has delivered its records: the scan goes on at the cache hand-over, with
    // `fetcher` bringing each record's local copy.
    void startFindDuplicateFilesInCloudDrive(const RecordList &records, LocalCopyFetcher fetcher);
    // GUI thread. A cloud listing failed or was cut short: the scan ends with an alert that says
    // why (none after Stop) and no results.
    void cloudListingFailed(const QString &reason);
    // Starts the listing of the current cloud source (set by the cloud side); without it a cloud
    // scan ends at once.
    std::function<void()> startCloudListing;
    // Asks the running cloud listing to stop; its end then closes the sheet.
    std::function<void()> stopCloudListing;

    void showNoPhotosAlert();
    void showOnlyOnePhotoAlert();
    // Before the results of a scan that left folders out open: which (unreadable, or a Trash).
    void showSkippedFoldersAlert();
    // Any thread: the alert is shown on the GUI thread.
    void showNoPhotosAlertOnMain();
    void showOnlyOnePhotoAlertOnMain();
    // GUI thread: closes the sheet and swaps the window's content to the results view.
    void showResults(const QList<std::shared_ptr<DuplicatesGroup>> &groups);

    // Seconds between the end of the comparison and the results view (3 in the application).
    void setResultsDelay(double seconds);
    bool isScanning() const { return m_engine->isRunning(); }
    const ScanEngine &engine() const { return *m_engine; }
    const ScanOptions &options() const { return m_options; }

signals:
    // The scan has ended and its outcome is on screen (the alerts are posted just before).
    void scanEnded(ScanEngine::Outcome outcome);

private:
    void resetScanState();
    void resetSheetTexts();
    void applyModeSettings();
    void showProgress(const ScanProgress &progress);
    void showComparisonComplete();
    void setBar(double fraction);
    void scanFinished(ScanEngine::Outcome outcome, const QList<std::shared_ptr<DuplicatesGroup>> &groups);
    void runAlert(const QString &message, const QString &informative,
        AlertSpec::Style style = AlertSpec::Style::Warning);
    // Posts `job` to the GUI thread; it is dropped when this controller has gone by then.
    void runOnMain(void (ScanRunController::*job)());

    MainWindowWidgets &c;
    ScanListState &state;
    MainWindowHost &host;
    ResultViewController &m_result;
    ScanOptions m_options;
    std::unique_ptr<ScanEngine> m_engine;
};
