// quennary-results-screenshot OUT.png [--language CODE] [--list] [--sheet NAME] [--size WxH] [FOLDER]
// Scans FOLDER (or a folder of generated near-duplicate photos) with the main window's Scan button
// in a temporary home, lets the results window open on the groups found, and saves a picture of it.
// --sheet draws one of the window's sheets centred over it, as it opens: scan (scan complete),
// back (return to the main window), summary (after a removal), library (after a removal of library
// items), authorization, automark (the
// auto-mark dialog), automarking (its progress sheet), menu (the context menu of a file), confirm
// (before a removal), progress and stopping (during one), problems (a summary with a group
// skipped and files left in place, with why) or guide, guide2, guide3 and guide4 (the library
// guide at its steps). --size WxH renders the window at another size than its own 1040x679 (for
// example 1024x768). --partial moves the matching level above every match, so the groups below it
// give way to the partial-match panel. --walk-guide, on a real display, shows the results window,
// opens the library guide at step one as a removal does, presses Next three times one second apart
// and saves a picture of the whole screen at each step as OUT with -stepN before its extension;
// --walk-guide-by-keys pictures the screen every three seconds and leaves the keys to the caller.
// --source draws the confirm and summary sheets as after a scan of Dropbox or Google Drive, or
// (library) with the marked files as photo-library items, or (mixed) with those of the first group
// only. QNY_ALBUM_FILE names the album file the library summary shows.
#include <cstdio>
#include <optional>
#include <random>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "controls/DoubleSlider.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/AppFolders.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "removal/ui/AutoMarkSheets.h"
#include "removal/ui/PhotosGuide.h"
#include "removal/ui/RemovalSheets.h"
#include "removal/ui/ResultWindowMarking.h"
#include "results/ui/AfterTrashSummaryWindow.h"
#include "results/ui/AlbumFileNote.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/OutlineList.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultWindowBuilder.h"
#include "results/ui/ResultsGridView.h"
#include "results/ui/ThumbnailLoader.h"
#include "scan/ScanEngine.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanRunController.h"

#include "PictureGrain.h"

namespace
{

// One picture of coloured shapes; the copies of a group are the same picture re-encoded smaller.
QImage scene(int seed)
{
    std::mt19937 random { quint32(seed) };
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(int(random() % 360), 90, 220));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        painter.setBrush(QColor::fromHsv(int(random() % 360), 200, int(80 + random() % 170)));
        const QRect box(
            int(random() % 1400), int(random() % 1000), int(80 + random() % 520), int(80 + random() % 400));
        (i % 2) ? painter.drawEllipse(box) : painter.drawRect(box);
    }
    painter.end();
    // Grain, so the files are as large as photos and pass the scan's minimum size.
    PictureGrain::add(image, random, 12);
    return image;
}

bool generatePhotos(const QString &folder, int groups)
{
    for (int g = 0; g < groups; ++g) {
        const QImage base = scene(g * 7919 + 13);
        const QString stem = QDir(folder).filePath(QStringLiteral("scene%1").arg(g, 2, 10, QLatin1Char('0')));
        bool ok = base.save(stem + QStringLiteral("-original.jpg"), "JPG", 92);
        ok = ok
            && base.scaledToWidth(1280, Qt::SmoothTransformation)
                   .save(stem + QStringLiteral("-small.jpg"), "JPG", 70);
        if (g % 2 == 0)
            ok = ok && base.save(stem + QStringLiteral("-copy.png"), "PNG");
        if (!ok)
            return false;
    }
    // A few pictures without a twin.
    for (int i = 0; i < 3; ++i)
        scene(100003 + i).save(QDir(folder).filePath(QStringLiteral("single%1.jpg").arg(i)), "JPG");
    return true;
}

// Draws the named sheet over the window's picture where it opens: centred over the window.
bool drawSheet(QImage &picture, ResultViewController &result, AutoMarkSheets *autoMark, const QString &name,
    const QString &source)
{
    if (source == QStringLiteral("dropbox"))
        result.scanSource = ScanSource::dropbox;
    else if (source == QStringLiteral("gdrive"))
        result.scanSource = ScanSource::googleDrive;
    ResultWindowBuilder *builder = result.findChild<ResultWindowBuilder *>();
    QWidget *sheet = nullptr;
    if (name == QStringLiteral("scan")) {
        result.progressCircular->progress = 100.0;
        sheet = result.windowScanComplete;
    } else if (name == QStringLiteral("back")) {
        sheet = result.windowOnMovesBack;
    } else if (builder && name == QStringLiteral("summary")) {
        // As after a run that moved three files to the trash.
        result.countTrashed = 3;
        result.sizeTrashed = 2500000;
        result.uniquePhotosReatined = 4;
        builder->afterTrash().showWindowAfterTrash_Main();
        sheet = builder->afterTrash().windowAfterTrashFolderFIles;
    } else if (builder && name == QStringLiteral("library")) {
        // As after a run that listed three library items in the album.
        result.countTrashed = 3;
        result.countListedInAlbum = 3;
        result.sizeTrashed = 0;
        result.isPhotosLibrayMarkedForTrash = true;
        if (const QString file = qEnvironmentVariable("QNY_ALBUM_FILE"); !file.isEmpty())
            builder->afterTrash().boxAlbumFile->setPath(file);
        builder->afterTrash().showWindowAfterTrash_Main();
        sheet = builder->afterTrash().windowAfterTrash;
    } else if (builder && name == QStringLiteral("authorization")) {
        sheet = builder->sheets().windowAuthorization;
    } else if (name == QStringLiteral("menu") && result.menuForCollectionView) {
        // The context menu of the first file, as a right click opens it.
        result.currentSelectedIndexs = { IndexPath { 0, 0 } };
        QMenu *menu = result.menuForCollectionView;
        menu->popup(QPoint(0, 0));
        QCoreApplication::processEvents();
        sheet = menu;
    } else if (autoMark && name == QStringLiteral("automark")) {
        sheet = autoMark->windowAutoMark;
    } else if (autoMark && name == QStringLiteral("automarking")) {
        const int groups = int(result.arrGroups.size());
        autoMark->updateAutoMarkProgress(std::max(result.cDup / 2, 2), groups / 2, groups);
        sheet = autoMark->windowAutoMarking;
    } else if (RemovalSheets *removal = result.findChild<RemovalSheets *>()) {
        removal->ensureSheets();
        if (name == QStringLiteral("confirm")) {
            // The second file of every group marked; with --source library, all are library items.
            for (const auto &group : result.arrGroups) {
                for (const auto &record : group->filterChildren) {
                    record->isPhotosNode = source == QStringLiteral("library")
                        || (source == QStringLiteral("mixed") && group == result.arrGroups.front());
                    record->isMark = record == group->filterChildren.value(1);
                }
            }
            removal->confirmMoveToTrash();
            sheet = removal->windowConfirmTrash;
        }
        if (builder && name.startsWith(QStringLiteral("guide"))) {
            const int step = name == QStringLiteral("guide") ? 1 : name.mid(5).toInt();
            result.stepNumber = GlobalObjects::stepNumberForPhotosFromRaw(step);
            removal->guide()->showPhotosStepsWindow();
            sheet = builder->sheets().windowForPhotosApp;
        }
        if (name == QStringLiteral("progress") || name == QStringLiteral("stopping")) {
            // As a run that has moved 2 of 4 files, with Stop pressed for "stopping".
            result.countTrashed = 2;
            result.sizeTrashed = 1800000;
            removal->indTrash->setRange(0, 4);
            removal->updateTrashCount();
            const bool stopping = name == QStringLiteral("stopping");
            removal->btnStopTrashing->setEnabled(!stopping);
            removal->indicatorStop->setVisible(stopping);
            removal->indicatorStop->setRange(0, stopping ? 0 : 1);
            sheet = removal->windowTrash;
        }
        if (builder && name == QStringLiteral("problems")) {
            // A summary of a run that skipped a group and could not remove four files: the first
            // three are named with why, the last counted.
            result.countTrashed = 3;
            result.sizeTrashed = 2500000;
            result.removalSkippedGroups = 1;
            result.removalFailedFiles = 4;
            const auto words = [](const char *key) { return localizedString(QString::fromLatin1(key)); };
            result.removalLeftInPlace = {
                { QStringLiteral("/media/usb/DCIM/IMG_2041 copy.jpg"),
                    formatText(words("ID_TRASH_NOT_YOURS_ALONE"),
                        QStringLiteral("in /media/usb: .Trash-1000 is not a folder of yours alone")) },
                { QStringLiteral("/home/me/Pictures/IMG_2042.jpg"),
                    words("ID_NOT_MOVED_CHANGED_SINCE_SCAN") },
                { QStringLiteral("/home/me/Pictures/IMG_2043.jpg"), words("ID_NOT_MOVED_PUT_BACK") },
                { QStringLiteral("/home/me/Pictures/IMG_2044.jpg"), words("ID_NOT_MOVED_KEPT_COPY_CHANGED") }
            };
            builder->afterTrash().showWindowAfterTrash_Main();
            sheet = builder->afterTrash().windowAfterTrashFolderFIles;
        }
    }
    if (!sheet)
        return false;
    sheet->ensurePolished();
    // The confirmation and the library summary size themselves to their texts as they open.
    if (name != QStringLiteral("confirm") && name != QStringLiteral("library"))
        sheet->adjustSize();
    const QPixmap face = sheet->grab();
    QPainter painter(&picture);
    painter.drawPixmap((picture.width() - face.width()) / 2, (picture.height() - face.height()) / 2, face);
    return true;
}

// The screen with the guide at `step`, then Next, until step four has been pictured.
void pictureGuideStep(ResultViewController &result, const QString &out, int step, bool byKeys)
{
    QTimer::singleShot(byKeys ? 3000 : 1200, &result, [&result, out, step, byKeys] {
        QWidget *guide = result.findChild<ResultWindowBuilder *>()->sheets().windowForPhotosApp;
        const QString name = QFileInfo(out).path() + QStringLiteral("/") + QFileInfo(out).completeBaseName()
            + QStringLiteral("-step%1.png").arg(step);
        QGuiApplication::primaryScreen()->grabWindow(0).save(name, "PNG");
        std::printf("step %d: guide %dx%d at %d,%d; picture saved to %s\n", step, guide->width(),
            guide->height(), guide->x(), guide->y(), qPrintable(name));
        if (step == 4) {
            QCoreApplication::exit(0);
            return;
        }
        if (!byKeys)
            result.findChild<ResultWindowBuilder *>()->sheets().btnNextForPhotosApp->click();
        pictureGuideStep(result, out, step + 1, byKeys);
    });
}

void walkThroughGuide(ResultViewController &result, const QString &out, bool byKeys)
{
    QWidget *window = result.view()->window();
    window->show();
    RemovalSheets *removal = result.findChild<RemovalSheets *>();
    removal->ensureSheets();
    result.stepNumber = GlobalObjects::StepNumberForPhotos::stepNumberOneForPhotos;
    removal->guide()->showPhotosStepsWindow();
    AlertPresenter::current().beginSheet(
        result.findChild<ResultWindowBuilder *>()->sheets().windowForPhotosApp, result.view());
    pictureGuideStep(result, out, 1, byKeys);
}

int usage()
{
    std::fprintf(stderr,
        "usage: quennary-results-screenshot OUT.png [--language CODE] [--list] [--sheet "
        "scan|back|summary|library|authorization|automark|automarking|menu|confirm|progress|stopping|"
        "problems|"
        "guide|guide2|guide3|guide4] "
        "[--size WxH] [--partial] [--walk-guide|--walk-guide-by-keys] [--source dropbox|gdrive|library|mixed] [FOLDER]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quennary"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString out = args.takeFirst();
    QString language;
    QString folder;
    bool list = false;
    bool partial = false;
    bool walkGuide = false;
    bool walkByKeys = false;
    QString source;
    QString sheet;
    QSize size(1040, 679);
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QStringLiteral("--language") && !args.isEmpty())
            language = args.takeFirst();
        else if (a == QStringLiteral("--sheet") && !args.isEmpty())
            sheet = args.takeFirst();
        else if (a == QStringLiteral("--source") && !args.isEmpty())
            source = args.takeFirst();
        else if (a == QStringLiteral("--list"))
            list = true;
        else if (a == QStringLiteral("--partial"))
            partial = true;
        else if (a == QStringLiteral("--walk-guide") || a == QStringLiteral("--walk-guide-by-keys")) {
            walkGuide = true;
            walkByKeys = a.endsWith(QStringLiteral("keys"));
        } else if (a == QStringLiteral("--size") && !args.isEmpty()) {
            const QStringList wh = args.takeFirst().split(QLatin1Char('x'));
            size = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
            if (size.isEmpty())
                return usage();
        } else
            folder = a;
    }
    QTemporaryDir home;
    AppFolders::setRootOverride(home.path());
    if (!language.isEmpty())
        Localization::setPreferredLanguagesOverride({ language });
    UserDefaults::standard().setFilePath(AppFolders::settingsFilePath());
    SettingsDefaults::registerDefaultSettings();
    // A walk through the guide shows real sheets; a picture answers them at once.
    std::optional<ScriptedAlertPresenter> alerts;
    if (!walkGuide)
        alerts.emplace();
    if (folder.isEmpty()) {
        folder = home.filePath(QStringLiteral("photos"));
        QDir().mkpath(folder);
        if (!generatePhotos(folder, 8))
            return 1;
    }

    MainViewController controller;
    controller.view();
    ResultViewController &result = *controller.result;
    result.view()->resize(size);
    if (!result.findChild<ResultWindowBuilder *>())
        (new ResultWindowBuilder(result, &result))->build();
    ResultWindowMarking marking(result);
    RemovalSheets::install(result);
    FilePathNode node;
    node.filePath = QDir(folder).absolutePath();
    node.state = 1;
    node.nodeType = GlobalObjects::NodeType::nodeTypefolder;
    controller.arrPathNodes = { node };
    ScanRunController &scan = controller.scanRun();
    scan.setResultsDelay(0.0);
    int status = 0;
    QObject::connect(&scan, &ScanRunController::scanEnded, &app, [&](ScanEngine::Outcome outcome) {
        if (outcome != ScanEngine::Outcome::Results) {
            std::fprintf(stderr, "quennary-results-screenshot: the scan found no groups\n");
            status = 1;
            QCoreApplication::exit(status);
            return;
        }
        // Let the grid reload and the visible thumbnails arrive, then take the picture.
        QTimer::singleShot(1500, &app, [&] {
            result.thumbnailLoader().waitForWorkers();
            QCoreApplication::processEvents();
            if (list)
                result.btnChangeListingType();
            if (partial) {
                // Above every match, so no group passes.
                for (DoubleSlider *slider :
                    { result.sliderMatchingLevel.data(), result.sliderForMatch.data() })
                    slider->setMaxValue(1.01);
                result.sliderMatchingLevel->setDoubleValue(1.01);
                result.sliderMatchingValue(result.sliderMatchingLevel);
                for (int i = 0; i < 3; ++i)
                    QCoreApplication::processEvents();
            }
            if (list && result.outlineList && result.outlineList->selectedRecord())
                std::printf("list selection: %s, scrolled to %d\n",
                    qPrintable(result.outlineList->selectedRecord()->fileName),
                    result.outlineList->outlineDupliates()->verticalScrollBar()->value());
            QWidget *view = result.view();
            view->resize(size);
            if (walkGuide)
                return walkThroughGuide(result, out, walkByKeys);
            QCoreApplication::processEvents();
            QImage picture = view->grab().toImage();
            if (!sheet.isEmpty() && !drawSheet(picture, result, marking.autoMarkSheets(), sheet, source)) {
                std::fprintf(stderr, "quennary-results-screenshot: no sheet named %s\n", qPrintable(sheet));
                status = 2;
            }
            if (!picture.save(out, "PNG")) {
                std::fprintf(stderr, "quennary-results-screenshot: cannot write %s\n", qPrintable(out));
                status = 1;
            }
            std::printf("%zu groups shown; picture saved to %s\n", result.arrGroups.size(), qPrintable(out));
            QCoreApplication::exit(status);
        });
    });
    controller.btnStartScanTapped();
    app.exec();
    return status;
}
