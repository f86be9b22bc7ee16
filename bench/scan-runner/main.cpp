// quennary-scan: runs one whole scan of PATH... headlessly, started by the main window's Scan button
// in an offscreen application and ended in its results view, and prints what it found as one JSON
// object. Options left out take the registered defaults; --rotate and --mirror switch the rotated
// and mirrored variants on. With --cloud dropbox it scans Dropbox folders through the main window's
// Dropbox mode instead, with --cloud gdrive Google Drive folders by identifier ("root" is My
// Drive). --auto-mark marks by the stored rules once the results window has the groups, and
// --trash-marked removes the marked files as the results window's Trash Marked does: files of this
// computer to the Trash of $XDG_DATA_HOME (DIR/data of --home unless the variable is set; without
// either it is refused), cloud files through their provider; --before-each-removal runs a program
// with the path of each file the removal is about to check and move, --before-each-move with that of
// each file checked that the Trash is about to take.
#include <cstdio>

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRadioButton>
#include <QTimer>

#include "DropboxRunnerSource.h"
#include "DriveRunnerSource.h"
#include "RunnerArguments.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "cloud/DriveService.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "controls/CFMButton.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/AppFolders.h"
#include "platform/SilentOwnFolders.h"
#include "platform/DecodeBudget.h"
#include "platform/LocalAlbumStore.h"
#include "platform/PathLook.h"
#include "platform/Trash.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "removal/AutoMarkRun.h"
#include "removal/RemovalRouteFactory.h"
#include "removal/RemovalRun.h"
#include "results/ShownGroups.h"
#include "results/ui/ResultViewController.h"
#include "scan/NoPhotosMessage.h"
#include "scan/ScanEngine.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanRunController.h"

namespace
{

int badArguments(const QString &why)
{
    std::fprintf(stderr, "quennary-scan: %s\n%s\n", qPrintable(why), RunnerArguments::usage());
    return 2;
}

// The command line stands in for the main window's controls, which are bound to these settings.
void registerCommandLineChoices(const RunnerArguments &arguments)
{
    QVariantMap choices;
    if (arguments.exact)
        choices.insert(QStringLiteral("setComparsionMethod"), qlonglong(*arguments.exact ? 0 : 1));
    if (arguments.level)
        choices.insert(QStringLiteral("setInitialMatching"), double(*arguments.level));
    if (arguments.bitmapIndex)
        choices.insert(QStringLiteral("setBitMapSize"), double(*arguments.bitmapIndex));
    if (arguments.timeIndex)
        choices.insert(QStringLiteral("setTimeInterval"), double(*arguments.timeIndex));
    if (arguments.gpsIndex)
        choices.insert(QStringLiteral("setGpsDistance"), double(*arguments.gpsIndex));
    choices.insert(QStringLiteral("isCompareRotateImages"), arguments.rotate);
    choices.insert(QStringLiteral("isCompareFlipImages"), arguments.mirror);
    UserDefaults &defaults = UserDefaults::standard();
    defaults.registerDefaults(choices);
    // The window's controls store what they show; values a former run stored this way must not
    // hide this run's choices.
    for (const char *key : { "setComparsionMethod", "setInitialMatching", "setBitMapSize", "setTimeInterval",
             "setGpsDistance", "isCompareRotateImages", "isCompareFlipImages" })
        defaults.removeObject(QLatin1String(key));
}

// What a path of the command line is; nothing when it is missing. A path that does not answer (on a
// share whose server is silent) is listed as a folder, for the scan to name.
std::optional<GlobalObjects::NodeType> nodeType(const QString &path)
{
    using NodeType = GlobalObjects::NodeType;
    // The share it names as not answering is passed over at once by the scan's own looks.
    const PathLook::Result<std::optional<NodeType>> type = PathLook::current().look<std::optional<NodeType>>(
        path,
        [path]() -> std::optional<NodeType> {
            const QFileInfo info(path);
            if (!info.exists())
                return std::nullopt;
            if (!info.isDir())
                return NodeType::nodeTypefile;
            return info.suffix().compare(QLatin1String("photoslibrary"), Qt::CaseInsensitive) == 0
                ? NodeType::nodeTypePhotos
                : NodeType::nodeTypefolder;
        },
        nullptr);
    return type.answer.value_or(NodeType::nodeTypefolder);
}

std::vector<FilePathNode> scanList(const QStringList &paths, QString *missing)
{
    std::vector<FilePathNode> nodes;
    for (const QString &path : paths) {
        const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
        const std::optional<GlobalObjects::NodeType> type = nodeType(absolute);
        if (!type) {
            *missing = path;
            return {};
        }
        FilePathNode node;
        node.filePath = absolute;
        node.state = 1;
        node.nodeType = *type;
        nodes.push_back(node);
    }
    return nodes;
}

// The most resident memory the process has had, in megabytes (the kernel reports kilobytes).
double peakRssMB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QJsonObject report(
    const ScanEngine &engine, const QList<std::shared_ptr<DuplicatesGroup>> &groups, double total)
{
    QJsonArray groupArray;
    for (const auto &group : groups) {
        QJsonArray members;
        for (const auto &record : group->children)
            members.append(record->filePath);
        groupArray.append(members);
    }
    // The groups as the results window shows them once it has opened (members in shown order).
    QJsonArray shownArray;
    const auto session = engine.session();
    QJsonArray recordPaths;
    // Cloud records whose copy did not arrive whole, and so were left out of the comparison.
    QJsonArray notFetched;
    if (session) {
        for (const auto &record : session->arrImagesContent) {
            recordPaths.append(record->filePath);
            if (record->isCopyNotFetched)
                notFetched.append(record->filePath);
        }
    }
    const ScanGlobalsSnapshot scan = session ? session->options.globals : ScanGlobals::snapshot();
    for (const auto &group : ShownGroups::afterOpening(groups, scan)) {
        QJsonArray members;
        for (const auto &record : group->filterChildren)
            members.append(record->filePath);
        shownArray.append(members);
    }
    const ScanEngine::Timings t = engine.timings();
    QJsonObject seconds { { QStringLiteral("enumerate"), t.enumerate }, { QStringLiteral("hash"), t.hash },
        { QStringLiteral("compare"), t.compare }, { QStringLiteral("total"), total } };
    return QJsonObject { { QStringLiteral("records"), session ? int(session->arrImagesContent.size()) : 0 },
        { QStringLiteral("groups"), groupArray }, { QStringLiteral("shown"), shownArray },
        { QStringLiteral("seconds"), seconds }, { QStringLiteral("recordPaths"), recordPaths },
        { QStringLiteral("notFetched"), notFetched },
        { QStringLiteral("trashFoldersSkipped"), session ? session->walkReport.trashFolders : 0 },
        { QStringLiteral("notAnsweringFolders"), session ? session->walkReport.notAnsweringFolders : 0 },
        { QStringLiteral("unreadableFolders"), session ? session->walkReport.unreadableFolders : 0 },
        { QStringLiteral("outsideScanPeriod"), session ? session->walkReport.outsideScanPeriod : 0 },
        // The note on the folders left out, as the window tells it at the scan's end.
        { QStringLiteral("skippedFolders"),
            session ? NoPhotosMessage::skippedFoldersText(session->walkReport) : QString() },
        { QStringLiteral("decoded"), session ? session->decoded.load() : 0 },
        { QStringLiteral("identicalKeptAcrossDates"),
            session ? session->identicalKeptAcrossDates.load() : 0 },
        { QStringLiteral("identicalLeftApart"), session ? session->identicalLeftApart.load() : 0 },
        { QStringLiteral("peakRssMB"), peakRssMB() },
        // The most the decodes held of their shared budget at once.
        { QStringLiteral("decodePeakMB"),
            double(DecodeBudget::shared().takePeak()) / (1024.0 * 1024.0) } };
}

QStringList markedPaths(const ResultState &state)
{
    QStringList paths;
    for (const auto &group : state.arrGroups) {
        for (const auto &record : group->filterChildren) {
            if (record->isMark && !record->isLocked)
                paths.append(record->filePath);
        }
    }
    return paths;
}

// What --auto-mark and --trash-marked did; `removal` is null when nothing was removed.
void addRemovalReport(QJsonObject &json, const QStringList &marked, const RemovalSummary *removal)
{
    QJsonArray failed;
    if (removal) {
        for (const RemovalSummary::Failure &f : removal->failed)
            failed.append(
                QJsonObject { { QStringLiteral("path"), f.path }, { QStringLiteral("reason"), f.reason } });
    }
    json.insert(QStringLiteral("marked"), QJsonArray::fromStringList(marked));
    json.insert(
        QStringLiteral("removed"), QJsonArray::fromStringList(removal ? removal->removed : QStringList()));
    json.insert(QStringLiteral("skipped_groups"), removal ? removal->skippedGroups : 0);
    json.insert(QStringLiteral("skipped_groups_in_trash"), removal ? removal->skippedInTrash : 0);
    json.insert(QStringLiteral("failed"), failed);
}

// The runner never touches the Trash of the user who runs it by accident.
bool chooseTrashFolder(const RunnerArguments &arguments)
{
    if (!arguments.home.isEmpty() && qEnvironmentVariableIsEmpty("XDG_DATA_HOME"))
        qputenv("XDG_DATA_HOME",
            QFile::encodeName(QDir(arguments.home).absoluteFilePath(QStringLiteral("data"))));
    return !arguments.trashMarked || !qEnvironmentVariableIsEmpty("XDG_DATA_HOME");
}

bool writeJson(const QJsonObject &object, const QString &file)
{
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (file.isEmpty()) {
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return true;
    }
    QFile out(file);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(text) == text.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    QString error;
    const std::optional<RunnerArguments> arguments = RunnerArguments::parse(raw, &error);
    if (!arguments)
        return badArguments(error);
    if (!chooseTrashFolder(*arguments))
        return badArguments(QStringLiteral("--trash-marked needs --home DIR or XDG_DATA_HOME"));
    if (!arguments->home.isEmpty()) {
        const QString home = QDir(arguments->home).absolutePath();
        QDir().mkpath(home);
        AppFolders::setRootOverride(home);
    }
    // As the program does at its start: its own folders on a share gone silent are passed over.
    SilentOwnFolders::look();
    QApplication app(argc, argv);
    // Alerts and sheets are answered at once; nobody is there to press a button.
    ScriptedAlertPresenter alerts;
    UserDefaults &defaults = UserDefaults::standard();
    defaults.setFilePath(AppFolders::settingsFilePath());
    SettingsDefaults::registerDefaultSettings();
    registerCommandLineChoices(*arguments);

    const bool cloud = !arguments->cloud.isEmpty();
    const std::vector<FilePathNode> nodes
        = cloud ? std::vector<FilePathNode>() : scanList(arguments->paths, &error);
    if (!cloud && nodes.empty())
        return badArguments(QStringLiteral("no such file or folder: ") + error);
    const bool exact = defaults.integerForKey(QStringLiteral("setComparsionMethod")) == 0;

    MainViewController controller;
    controller.view();
    controller.selectComparisonMethod(
        exact ? controller.btnExactMatch.data() : controller.btnSimilarMatch.data());
    controller.arrPathNodes = nodes;
    std::shared_ptr<DropBoxHandler> dropbox;
    if (arguments->cloud == QLatin1String("dropbox")) {
        dropbox = DropboxRunnerSource::prepareDropboxScan(controller, arguments->cloudFolders);
        if (!dropbox)
            return 2;
    } else if (arguments->cloud == QLatin1String("gdrive")) {
        ScanGlobals::scanType = ScanSource::googleDrive;
        DriveRunnerSource::signIn(DriveService::shared());
        const auto drive = DriveRunnerSource::scanList(DriveService::shared(), arguments->cloudFolders,
            controller.gDriveAccessVC->rootDriveFolderId, &error);
        if (!drive) {
            std::fprintf(stderr, "quennary-scan: %s\n", qPrintable(error));
            return 2;
        }
        controller.arrPathNodeGoogleDrive = *drive;
    }
    ScanRunController &scan = controller.scanRun();
    QElapsedTimer clock;
    QElapsedTimer sinceStop;
    int status = 0;
    std::unique_ptr<AutoMarkRun> marking;
    std::unique_ptr<RemovalRun> removal;
    const auto finish = [&](const QJsonObject &json) {
        if (!writeJson(json, arguments->jsonFile)) {
            std::fprintf(stderr, "quennary-scan: cannot write %s\n", qPrintable(arguments->jsonFile));
            status = 1;
        }
        QCoreApplication::exit(status);
    };
    QObject::connect(&scan, &ScanRunController::scanEnded, &app, [&](ScanEngine::Outcome outcome) {
        const double total = double(clock.nsecsElapsed()) / 1e9;
        // A listing that failed or was cut short has nothing to report but why.
        const QString failure = controller.cloudMode().listingFailure();
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "quennary-scan: %s\n", qPrintable(failure));
            status = 1;
            QCoreApplication::exit(status);
            return;
        }
        QList<std::shared_ptr<DuplicatesGroup>> groups;
        if (outcome == ScanEngine::Outcome::Results)
            groups = ScanEngine::groupsToShow(scan.engine().session()->arrAllFilesGrouping);
        QJsonObject json = report(scan.engine(), groups, total);
        if (sinceStop.isValid())
            json.insert(QStringLiteral("secondsFromStopToEnd"), double(sinceStop.nsecsElapsed()) / 1e9);
        if (!arguments->autoMark && !arguments->trashMarked)
            return finish(json);
        // The results window has the groups now; mark and remove as its buttons would.
        ResultViewController &results = *controller.result;
        if (outcome == ScanEngine::Outcome::Results) {
            marking = std::make_unique<AutoMarkRun>(results);
            marking->runToCompletion();
        }
        const QStringList marked
            = outcome == ScanEngine::Outcome::Results ? markedPaths(results) : QStringList();
        if (!arguments->trashMarked || outcome != ScanEngine::Outcome::Results) {
            addRemovalReport(json, marked, nullptr);
            return finish(json);
        }
        // The roads the removal sheets take: the Trash, the album, and each provider's own removal.
        const auto routes = RemovalRouteFactory::make({ [&results] { return results.scanWrapper; },
            &DriveService::shared(), std::make_shared<LocalAlbumStore>(), ScanGlobals::markedPhotosAlbumName() });
        removal = std::make_unique<RemovalRun>(results, routes);
        if (!arguments->beforeEachRemoval.isEmpty())
            removal->setBeforeEachFile([program = arguments->beforeEachRemoval](
                                           const QString &path) { QProcess::execute(program, { path }); });
        if (!arguments->beforeEachMove.isEmpty())
            Trash::setBeforeMove([program = arguments->beforeEachMove](
                                     const QString &path) { QProcess::execute(program, { path }); });
        QObject::connect(removal.get(), &RemovalRun::finished, &app, [&, json, marked]() mutable {
            addRemovalReport(json, marked, &removal->summary());
            json.insert(QStringLiteral("freed_bytes"), qint64(results.sizeTrashed));
            finish(json);
        });
        if (!removal->start()) {
            addRemovalReport(json, marked, nullptr);
            finish(json);
        }
    });
    // The window waits three seconds before it shows the groups; a measurement does not.
    scan.setResultsDelay(0.0);
    QTimer stopper;
    if (arguments->stopWhileReading) {
        QObject::connect(&stopper, &QTimer::timeout, &app, [&]() {
            const auto session = scan.engine().session();
            if (!session || session->bytesRead.load() == 0)
                return;
            stopper.stop();
            sinceStop.start();
            controller.btnStopAddingPhotos->click();
        });
        stopper.start(1);
    }
    clock.start();
    controller.btnStartScanTapped();
    app.exec();
    return status;
}
