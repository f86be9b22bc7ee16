// The grouping kernel on fingerprints of distinct photos (N = 64, all eight variants, rotate and
// mirror on): the straight first-fit loop, the loop that rules pairs out by sketches first and
// scores members alike once, and the parallel method (scores on every core, placement in order);
// also many copies of one picture, which form one big group (also when written years apart beside a
// smaller copy), many files alike that are not copies, distinct photos with capture dates,
// and distinct photos as a scan with the default options holds them (first variant only). Real time is the
// wall clock; "cpu_s" counts the CPU time of every thread of the process. Whole scans are measured with
// bench/scan-runner; this isolates the comparison.
#include <cstring>
#include <functional>
#include <random>

#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "scan/DuplicateGrouper.h"
#include "support/PictureLikeBits.h"

namespace
{

// `dated`: each photo has a capture date, spread evenly at random over ten years, as in a library
// of a camera's photos.
RecordList distinctRecords(int count, bool noise, bool dated = false)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<qint64> tenYears(0, 10 * 365 * 86400);
    RecordList records;
    for (int i = 0; i < count; ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/bench/%1.jpg").arg(i);
        record->fileSize = quint64(100000 + i);
        if (dated) {
            record->exifInfo = std::make_shared<ExifInfo>();
            record->exifInfo->captureDate = QDateTime::fromSecsSinceEpoch(1300000000 + tenYears(random));
        }
        for (int v = 0; v < 8; ++v)
            record->arrHashOfRotateFlipImages.append(PictureLikeBits::make(random, 64, noise));
        records.append(record);
    }
    return records;
}

double processCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// N = 64, all eight variants (or, without `turns`, the first alone), a day's capture-time limit
// and 100 m.
void groupAll(benchmark::State &state, const RecordList &records, DuplicateGrouper::Method method,
    bool turns = true, const std::function<void()> &beforeEach = {})
{
    ScanOptions options;
    options.globals.reSizeValue = 64;
    options.globals.captureTimeInterval = 86400;
    options.globals.gpsDistanceLimit = 100;
    options.globals.compareRotateImages = turns;
    options.globals.compareFlipImages = turns;
    double cpu = 0;
    qsizetype groups = 0;
    for (auto _ : state) {
        if (beforeEach) {
            state.PauseTiming();
            beforeEach();
            state.ResumeTiming();
        }
        const double cpuBefore = processCpuSeconds();
        ScanSession session;
        session.options = options;
        session.arrImagesContent = records;
        session.report = [](ScanProgress::Stage, const QString &) {};
        DuplicateGrouper(session, method).startComparison();
        groups = session.arrAllFilesGrouping.size();
        benchmark::DoNotOptimize(groups);
        cpu += processCpuSeconds() - cpuBefore;
    }
    state.counters["cpu_s"] = cpu / double(state.iterations());
    state.counters["groups"] = double(groups);
}

// `noise`: fingerprints of pictures without structure (every bit a coin toss), where the sketches
// rule out little and the full comparison does the work.
void groupDistinct(benchmark::State &state, DuplicateGrouper::Method method, bool noise)
{
    const RecordList records = distinctRecords(int(state.range(0)), noise);
    groupAll(state, records, method);
}

// The same photos as a scan with the default options holds them: no turns compared, so each record
// keeps only its first variant.
void groupUpright(benchmark::State &state)
{
    const RecordList records = distinctRecords(int(state.range(0)), false);
    for (const auto &record : records) {
        FingerprintVariants first;
        first.append(record->arrHashOfRotateFlipImages.variant(0));
        first.leaveOut(7, true);
        record->arrHashOfRotateFlipImages = std::move(first);
    }
    groupAll(state, records, DuplicateGrouper::Method::Parallel, false);
}

// Distinct photos with capture dates: the day's limit bounds whom each one meets.
void groupDated(benchmark::State &state, DuplicateGrouper::Method method)
{
    const RecordList records = distinctRecords(int(state.range(0)), false, true);
    groupAll(state, records, method);
}

// Copies of one picture made one after another: the same fingerprint, size and position, creation
// times a second apart (all within the capture-time limit), so they form one group.
void groupCopies(benchmark::State &state, DuplicateGrouper::Method method)
{
    std::mt19937 random(9);
    const std::vector<uint8_t> picture = PictureLikeBits::make(random, 64, false);
    RecordList records;
    for (int i = 0; i < int(state.range(0)); ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/bench/copy-%1.jpg").arg(i);
        record->fileSize = 2500000;
        record->createDate = QDateTime::fromSecsSinceEpoch(1700000000 + i);
        for (int v = 0; v < 8; ++v)
            record->arrHashOfRotateFlipImages.append(picture);
        records.append(record);
    }
    groupAll(state, records, method);
}

// Files that look alike without being byte copies (frames of a still time-lapse): one size,
// fingerprint and date, each with a sum of its own, as a cloud provider lists them. They form one
// group, whose members alike are scored once.
void groupAlike(benchmark::State &state)
{
    std::mt19937 random(17);
    const std::vector<uint8_t> picture = PictureLikeBits::make(random, 64, false);
    RecordList records;
    for (int i = 0; i < int(state.range(0)); ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/bench/frame-%1.jpg").arg(i);
        record->fileSize = 3000;
        record->fileMd5 = QStringLiteral("sum-%1").arg(i);
        record->createDate = QDateTime::fromSecsSinceEpoch(1700000000);
        for (int v = 0; v < 8; ++v)
            record->arrHashOfRotateFlipImages.append(picture);
        records.append(record);
    }
    groupAll(state, records, DuplicateGrouper::Method::Parallel);
}

// Byte copies of one picture (one size and sum) written over ten years, after a copy at another size
// written with the first: file dates keep most of them from the small copy, and each joins the
// group of its copies all the same.
void groupCopiesAcrossDates(benchmark::State &state, DuplicateGrouper::Method method)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<qint64> tenYears(0, 10 * 365 * 86400);
    const std::vector<uint8_t> picture = PictureLikeBits::make(random, 64, false);
    RecordList records;
    for (int i = 0; i < int(state.range(0)); ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/bench/dated-copy-%1.jpg").arg(i);
        record->fileSize = i == 1 ? 600000 : 2500000;
        record->fileMd5 = i == 1 ? QString() : QStringLiteral("sum");
        record->createDate = QDateTime::fromSecsSinceEpoch(1400000000 + (i < 2 ? 0 : tenYears(random)));
        for (int v = 0; v < 8; ++v)
            record->arrHashOfRotateFlipImages.append(picture);
        records.append(record);
    }
    groupAll(state, records, method);
}

// Distinct photos with file dates spread over ten years, each with a byte copy (its size and sum)
// written within two years after it, the copies in a folder of their own after the photos: file
// dates keep most copies from their photos, and the byte copies still group with them. With
// `dir`, the files are written there (32 KB each) and their sums are read, as a first scan does.
RecordList backedUpRecords(int count, const QTemporaryDir *dir)
{
    const int photos = count / 2;
    RecordList records = distinctRecords(photos, false);
    std::mt19937 random(13);
    std::uniform_int_distribution<qint64> tenYears(0, 10 * 365 * 86400), twoYears(0, 2 * 365 * 86400);
    for (int i = 0; i < photos; ++i) {
        ImageFileInfo &photo = *records[i];
        photo.createDate = QDateTime::fromSecsSinceEpoch(1300000000 + tenYears(random));
        auto copy = std::make_shared<ImageFileInfo>();
        copy->filePath = QStringLiteral("/backup/%1.jpg").arg(i);
        copy->arrHashOfRotateFlipImages = photo.arrHashOfRotateFlipImages;
        copy->createDate = photo.createDate.addSecs(twoYears(random));
        if (dir) {
            QByteArray bytes(32768, char(i));
            std::memcpy(bytes.data(), &i, sizeof i);
            photo.filePath = dir->filePath(QStringLiteral("%1.jpg").arg(i));
            copy->filePath = dir->filePath(QStringLiteral("copy-%1.jpg").arg(i));
            for (const QString &path : { photo.filePath, copy->filePath }) {
                QFile file(path);
                if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                    return {};
            }
            photo.fileSize = quint64(bytes.size());
        } else
            photo.fileMd5 = QStringLiteral("sum-%1").arg(i);
        copy->fileSize = photo.fileSize;
        copy->fileMd5 = photo.fileMd5;
        records.append(copy);
    }
    return records;
}

void groupBackedUp(benchmark::State &state)
{
    groupAll(state, backedUpRecords(int(state.range(0)), nullptr), DuplicateGrouper::Method::Parallel);
}

// The same with the files on disk, read again for every run (from memory after the first).
void groupBackedUpOnDisk(benchmark::State &state)
{
    QTemporaryDir dir;
    const RecordList records = backedUpRecords(int(state.range(0)), &dir);
    groupAll(state, records, DuplicateGrouper::Method::Parallel, true, [&records] {
        for (const auto &record : records)
            record->fileMd5.clear();
    });
}

} // namespace

BENCHMARK_CAPTURE(groupCopiesAcrossDates, prefiltered, DuplicateGrouper::Method::Prefiltered)
    ->Arg(2000)
    ->Arg(5000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupCopiesAcrossDates, parallel, DuplicateGrouper::Method::Parallel)
    ->Arg(5000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupCopies, straight, DuplicateGrouper::Method::Straight)
    ->Arg(2000)
    ->Arg(5000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupCopies, prefiltered, DuplicateGrouper::Method::Prefiltered)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(20000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupDistinct, straight, DuplicateGrouper::Method::Straight, false)
    ->Arg(1000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupDistinct, prefiltered, DuplicateGrouper::Method::Prefiltered, false)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(20000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupDistinct, noise_straight, DuplicateGrouper::Method::Straight, true)
    ->Arg(4000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupDistinct, noise_prefiltered, DuplicateGrouper::Method::Prefiltered, true)
    ->Arg(4000)
    ->Arg(20000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(groupCopies, parallel, DuplicateGrouper::Method::Parallel)
    ->Arg(20000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupDistinct, parallel, DuplicateGrouper::Method::Parallel, false)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(50000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(groupAlike)->Arg(20000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(groupBackedUp)->Arg(20000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(groupBackedUpOnDisk)->Arg(20000)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(groupUpright)->Arg(10000)->Arg(50000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupDated, parallel, DuplicateGrouper::Method::Parallel)
    ->Arg(10000)
    ->Arg(50000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(groupDistinct, noise_parallel, DuplicateGrouper::Method::Parallel, true)
    ->Arg(20000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
