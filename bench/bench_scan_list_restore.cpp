// The main window's start with a saved scan list of 0, 1,000, 3,000 and 10,000 folders: the cost of
// building the window, restoring the list and taking in the look at its folders (the empty list is
// the window alone). The restore should grow linearly with the list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>

#include "platform/UserDefaults.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanListController.h"

#include "BenchMain.h"

namespace
{

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
    for (auto _ : s) {
        auto controller = std::make_unique<MainViewController>();
        controller->view();
        while (controller->scanList().isLookingAtEntries())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        benchmark::DoNotOptimize(controller->arrPathNodes.size());
        s.PauseTiming();
        controller.reset();
        s.ResumeTiming();
    }
    UserDefaults::standard().removeObject(QStringLiteral("savedPaths"));
}
BENCHMARK(BM_StartWithSavedFolders)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv);
}
