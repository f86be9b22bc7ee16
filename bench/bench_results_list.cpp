// The results list with 5,000 groups of 3 files: the cost of one full repaint of a 1000 x 700 list
// (about 23 rows, each drawn as its cell), of re-reading the groups, and of building the metadata
// rows of one record with its EXIF already loaded. A repaint well under 16 ms keeps scrolling smooth.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "controls/CustomOutlineView.h"
#include "model/DuplicatesGroup.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "results/MetadataRows.h"
#include "results/ResultState.h"
#include "results/ui/OutlineList.h"

#include "BenchMain.h"

namespace
{

constexpr int kGroups = 5000;
constexpr int kPerGroup = 3;

void fill(ResultState &state)
{
    for (int g = 0; g < kGroups; ++g) {
        auto group = std::make_shared<DuplicatesGroup>();
        for (int i = 0; i < kPerGroup; ++i) {
            auto r = std::make_shared<ImageFileInfo>();
            r->fileName = QStringLiteral("IMG_%1_%2.jpg").arg(g).arg(i);
            r->filePath = QStringLiteral("/home/user/Pictures/2024/trip/") + r->fileName;
            r->fileSize = 2500000 + std::uint64_t(g * 17 + i);
            r->createDate = QDateTime::currentDateTime();
            r->isMark = i == 1;
            r->parent = group;
            group->children.append(r);
        }
        group->filterChildren = group->children;
        state.arrGroups.push_back(group);
    }
}

struct ListBench {
    ResultState state;
    QWidget container;
    std::unique_ptr<OutlineList> list;
    ListBench()
    {
        fill(state);
        container.resize(1000, 730);
        list = std::make_unique<OutlineList>(state, &container);
        container.show();
        list->reloadData();
    }
};

void BM_ListRepaint(benchmark::State &s)
{
    ListBench bench;
    QWidget *viewport = bench.list->outlineDupliates()->viewport();
    for (auto _ : s) {
        QPixmap picture = viewport->grab();
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(BM_ListRepaint)->Unit(benchmark::kMillisecond);

void BM_ListReload(benchmark::State &s)
{
    ListBench bench;
    for (auto _ : s)
        bench.list->reloadData();
}
BENCHMARK(BM_ListReload)->Unit(benchmark::kMillisecond);

void BM_MetadataRows(benchmark::State &s)
{
    ImageFileInfo record;
    record.fileName = QStringLiteral("IMG_1.jpg");
    record.filePath = QStringLiteral("/home/user/Pictures/IMG_1.jpg");
    ExifInfo exif;
    exif.cameraMaker = QStringLiteral("Maker");
    exif.gpsLatitude = 48.86;
    exif.gpsLatitudeRef = QStringLiteral("N");
    exif.captureDate = QDateTime::currentDateTime();
    for (auto _ : s)
        benchmark::DoNotOptimize(MetadataRows::rowsFor(record, exif, ScanSource::thisComputer));
}
BENCHMARK(BM_MetadataRows)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv);
}
