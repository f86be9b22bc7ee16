// The results window with 5,000 groups of 3 photos: the time from the hand-over of the groups to the
// grid shown and selected, and a scroll through the whole grid at about 60 steps a second, pausing
// now and then so the visible cells load their thumbnails, measuring the longest stretch in which
// the GUI thread did not get back to its event loop. Targets: open < 1 s, longest stall < 50 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/ScanGlobals.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultsGridView.h"
#include "results/ui/ThumbnailLoader.h"

#include "BenchMain.h"

namespace
{

constexpr int kGroups = 5000;
constexpr int kPerGroup = 3;
constexpr int kPictures = 24;

// Camera-sized JPEGs with some structure, so a thumbnail costs what a real photo costs.
QStringList writePictures(const QTemporaryDir &dir)
{
    QStringList paths;
    for (int i = 0; i < kPictures; ++i) {
        QImage picture(3000, 2000, QImage::Format_RGB32);
        QPainter painter(&picture);
        QLinearGradient gradient(0, 0, 3000, 2000);
        gradient.setColorAt(0, QColor::fromHsv((i * 37) % 360, 150, 220));
        gradient.setColorAt(1, QColor::fromHsv((i * 37 + 140) % 360, 200, 80));
        painter.fillRect(picture.rect(), gradient);
        for (int k = 0; k < 40; ++k)
            painter.fillRect((k * 173 + i * 31) % 2800, (k * 97) % 1800, 200, 150, QColor::fromHsv((k * 29) % 360, 200, 200));
        painter.end();
        const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        picture.save(path, "JPG", 90);
        paths.append(path);
    }
    return paths;
}

std::vector<std::shared_ptr<DuplicatesGroup>> makeGroups(const QStringList &pictures)
{
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    for (int g = 0; g < kGroups; ++g) {
        auto group = std::make_shared<DuplicatesGroup>();
        for (int m = 0; m < kPerGroup; ++m) {
            auto record = std::make_shared<ImageFileInfo>();
            record->filePath = pictures[(g * kPerGroup + m) % pictures.size()];
            record->fileName = QStringLiteral("photo_%1_%2.jpg").arg(g).arg(m);
            record->filePathUrl = QUrl::fromLocalFile(record->filePath);
            record->fileSize = 2000000 + quint64(m) * 1000;
            record->createDate = QDateTime::currentDateTime();
            record->match = 1.0f;
            record->parent = group;
            group->children.append(record);
        }
        groups.push_back(group);
    }
    return groups;
}

void waitForReload(ResultViewController &controller)
{
    QEventLoop loop;
    QObject::connect(&controller, &ResultViewController::collectionViewReloaded, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}

struct ScrollFigures
{
    double longestStallMs = 0;
    int steps = 0;
    int thumbnails = 0;
};

// Scrolls top to bottom one step per 16 ms; every 40 steps holds still for 400 ms so the
// visible-cells pass runs. A 1 ms probe timer measures the gaps of the event loop.
ScrollFigures scrollThrough(ResultViewController &controller)
{
    ResultsGridView &grid = *controller.collectionView;
    QScrollBar *bar = grid.verticalScrollBar();
    ScrollFigures figures;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    qint64 lastProbe = clock.nsecsElapsed();
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        figures.longestStallMs = std::max(figures.longestStallMs, double(now - lastProbe) / 1e6);
        lastProbe = now;
    });
    int pauseLeft = 0;
    QTimer stepper;
    stepper.setInterval(16);
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        if (pauseLeft > 0) {
            --pauseLeft;
            return;
        }
        if (bar->value() >= bar->maximum()) {
            loop.quit();
            return;
        }
        bar->setValue(bar->value() + grid.viewport()->height());
        grid.viewport()->repaint();
        if (++figures.steps % 40 == 0)
            pauseLeft = 25;
    });
    probe.start();
    stepper.start();
    loop.exec();
    controller.thumbnailLoader().waitForWorkers();
    QCoreApplication::processEvents();
    for (const auto &record : controller.arrImageContent)
        figures.thumbnails += record->imgThumbnail.isNull() ? 0 : 1;
    return figures;
}

void BM_ResultsGrid(benchmark::State &state)
{
    QTemporaryDir dir;
    const QStringList pictures = writePictures(dir);
    ScriptedAlertPresenter presenter;
    ScanGlobalsSnapshot scan;
    scan.compareType = GlobalObjects::CompareType::ctHash;
    scan.matchThreshold = 0.90;
    scan.minimumMatchThreshold = 0.85;
    for (auto _ : state) {
        const auto groups = makeGroups(pictures);
        ResultViewController controller;
        controller.view()->resize(1400, 900);
        controller.view()->show();
        QCoreApplication::processEvents();
        QElapsedTimer open;
        open.start();
        controller.invokeCollectionView(groups, scan);
        waitForReload(controller);
        const double openMs = double(open.nsecsElapsed()) / 1e6;
        state.SetIterationTime(openMs / 1000.0);
        const ScrollFigures scroll = scrollThrough(controller);
        state.counters["open_ms"] = openMs;
        state.counters["sections"] = controller.numberOfSections();
        state.counters["scroll_steps"] = scroll.steps;
        state.counters["longest_stall_ms"] = scroll.longestStallMs;
        state.counters["thumbnails_loaded"] = scroll.thumbnails;
        state.counters["cells_made"] = controller.collectionView->cellCount();
    }
}

} // namespace

BENCHMARK(BM_ResultsGrid)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv);
}
