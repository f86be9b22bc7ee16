// The main window's start with a saved scan list of 0, 1,000, 3,000, 10,000 and 20,000 folders: the
// cost of building the window, restoring the list and taking in the look at its folders (the empty
// list is the window alone), and the memory the restored list holds (the window shown, its list
// scrolled from top to bottom). The restore should grow linearly with the list; its memory should not
// grow with rows the screen does not show.
#include <benchmark/benchmark.h>

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/UserDefaults.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanListController.h"

#include "BenchMain.h"

namespace
{

// The resident memory of this process in kilobytes, as the kernel counts it.
double residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

// Every row of the list is brought on screen once, a page at a time, as a user scrolling through it.
void scrollThrough(QAbstractItemView *list)
{
    QScrollBar *bar = list->verticalScrollBar();
    for (int value = bar->minimum(); value <= bar->maximum(); value += std::max(1, bar->pageStep())) {
        bar->setValue(value);
        QCoreApplication::processEvents();
    }
}

void BM_StartWithSavedFolders(benchmark::State &s)
{
    QTemporaryDir root;
    QVariantList saved;
    for (int i = 0; i < int(s.range(0)); ++i) {
        const QString folder = root.filePath(QStringLiteral("f%1").arg(i));
        QDir().mkpath(folder);
        saved << QVariantMap { { QStringLiteral("path"), folder.toUtf8() },
            { QStringLiteral("state"), qlonglong(1) } };
    }
    UserDefaults::standard().setObject(QStringLiteral("savedPaths"), saved);
    // The longest the GUI thread went without coming back to its event loop: building the window,
    // then while the look runs, its answer is taken in and the rest of the rows are made, as a timer
    // beating every 5 ms sees it.
    qint64 longestBuild = 0, longestStall = 0;
    double heldKb = 0;
    for (auto _ : s) {
        // What the window and its list hold, counted from before it is made: the first round's
        // count is the true one, as freed memory stays with the process for the next.
        s.PauseTiming();
        const double before = residentKb();
        s.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        auto controller = std::make_unique<MainViewController>();
        controller->view();
        longestBuild = std::max(longestBuild, clock.elapsed());
        QEventLoop loop;
        QTimer beat;
        qint64 last = clock.elapsed();
        QObject::connect(&beat, &QTimer::timeout, &loop, [&] {
            longestStall = std::max(longestStall, clock.elapsed() - last);
            last = clock.elapsed();
            // Rows with a cell of their own are built once the last has one; rows drawn need none.
            const QAbstractItemModel *rows = controller->tvPath->model();
            const bool built = rows->rowCount() == 0 || !controller->tvPath->indexWidget(rows->index(0, 0))
                || controller->tvPath->indexWidget(rows->index(rows->rowCount() - 1, 0));
            if (!controller->scanList().isLookingAtEntries() && built)
                loop.quit();
        });
        beat.start(5);
        loop.exec();
        // What the answer left queued (widgets to delete, layouts to redo) runs within the count.
        last = clock.elapsed();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        longestStall = std::max(longestStall, clock.elapsed() - last);
        benchmark::DoNotOptimize(controller->arrPathNodes.size());
        s.PauseTiming();
        controller->view()->resize(1280, 800);
        controller->view()->show();
        scrollThrough(controller->tvPath);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        heldKb = std::max(heldKb, residentKb() - before);
        controller.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        s.ResumeTiming();
    }
    s.counters["window_ms"] = double(longestBuild);
    s.counters["stall_ms"] = double(longestStall);
    s.counters["held_mb"] = heldKb / 1024;
    UserDefaults::standard().removeObject(QStringLiteral("savedPaths"));
}
BENCHMARK(BM_StartWithSavedFolders)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(20000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv);
}
