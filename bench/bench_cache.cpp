// Cache database speed: a scan's batch writes (100,000 photos with EXIF and fingerprint rows, in
// batches of 500, through the same calls the hashing stage makes) and the fetch of the cached rows
// for 100,000 paths before hashing. Targets: at least 50,000 records/s written; fetch under 1 s.
#include <benchmark/benchmark.h>

#include <memory>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimeZone>

#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "model/ScanCacheIndex.h"
#include "model/SqliteDBOperations.h"

#include "BenchMain.h"

namespace
{

constexpr int kRecords = 100000;
constexpr int kBatch = 500;
constexpr int kSide = 64;

using Records = QList<std::shared_ptr<ImageFileInfo>>;

std::shared_ptr<ImageFileInfo> makePhoto(int index)
{
    auto record = std::make_shared<ImageFileInfo>();
    record->filePath = QStringLiteral("/home/user/Pictures/2024/%1/IMG_%2.jpg").arg(index % 97).arg(index);
    record->fileSize = 2000000 + quint64(index);
    record->modDate = CacheFormat::dateFromSecondsSince1970(1700000000.0 + index * 0.25);
    auto exif = std::make_shared<ExifInfo>();
    exif->captureDate = QDateTime::fromSecsSinceEpoch(1600000000 + index, QTimeZone::utc());
    exif->gpsLatitude = 48.85 + index * 1e-6;
    exif->gpsLongitude = 2.35;
    exif->pixelWidth = 4032;
    exif->pixelHeight = 3024;
    exif->dpiWidth = 72;
    exif->dpiHeight = 72;
    exif->orientation = 1;
    record->exifInfo = exif;
    std::vector<uint8_t> variant(size_t(kSide * kSide / 8));
    for (int v = 0; v < 8; ++v) {
        for (size_t i = 0; i < variant.size(); ++i)
            variant[i] = uint8_t(i * 131 + size_t(index) * 7 + size_t(v));
        record->arrHashOfRotateFlipImages.append(variant);
    }
    return record;
}

Records makeBatch(int first, int count)
{
    Records batch;
    batch.reserve(count);
    for (int i = first; i < first + count; ++i)
        batch.append(makePhoto(i));
    return batch;
}

// One batch as the hashing stage writes it.
void writeBatch(const QString &folder, const QString &dbPath, const Records &batch, ScanCacheIndex &index)
{
    SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
        folder, SqliteDBOperations::templatePathForScanType(ScanSource::thisComputer), QStringLiteral("quennary.db"));
    SqliteDBOperations::createTablesIfNotExists(dbPath);
    SqliteDBOperations::saveBatch(dbPath, batch, index);
}

void BM_InsertBatches(benchmark::State &state)
{
    ScanCacheIndex index;
    index.reSizeValue = kSide;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString dbPath = folder.path() + QStringLiteral("/quennary.db");
        state.ResumeTiming();
        for (int first = 0; first < kRecords; first += kBatch) {
            state.PauseTiming();
            const Records batch = makeBatch(first, kBatch);
            state.ResumeTiming();
            writeBatch(folder.path(), dbPath, batch, index);
        }
    }
    state.counters["records_per_s"]
        = benchmark::Counter(double(kRecords) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FetchPaths(benchmark::State &state)
{
    ScanCacheIndex index;
    index.reSizeValue = kSide;
    QTemporaryDir folder;
    const QString dbPath = folder.path() + QStringLiteral("/quennary.db");
    Records all;
    for (int first = 0; first < kRecords; first += kBatch) {
        const Records batch = makeBatch(first, kBatch);
        writeBatch(folder.path(), dbPath, batch, index);
        for (const auto &record : batch) {
            auto light = std::make_shared<ImageFileInfo>();
            light->filePath = record->filePath;
            all.append(light);
        }
    }
    SqliteDBOperations::deleteRecordsFromTable(QStringLiteral("tempTable"), dbPath);
    SqliteDBOperations::insertDataInTempTable(QStringLiteral("tempTable"), dbPath, all);
    qsizetype fetched = 0;
    qsizetype fingerprints = 0;
    for (auto _ : state) {
        auto exif = SqliteDBOperations::fetchExifInfoFromDbPath(dbPath, false, index);
        fetched = exif.size();
        fingerprints = index.dictHash.size();
        // Freeing the results is the end of the scan's work, not the fetch's.
        state.PauseTiming();
        exif.clear();
        index.dictHash.clear();
        state.ResumeTiming();
    }
    state.counters["rows"] = double(fetched);
    state.counters["fingerprints"] = double(fingerprints);
}

void BM_FillPathTable(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString dbPath = folder.path() + QStringLiteral("/quennary.db");
    SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
        folder.path(), SqliteDBOperations::templatePathForScanType(ScanSource::thisComputer), QStringLiteral("quennary.db"));
    Records all;
    for (int i = 0; i < kRecords; ++i) {
        auto record = std::make_shared<ImageFileInfo>();
        record->filePath = QStringLiteral("/home/user/Pictures/2024/%1/IMG_%2.jpg").arg(i % 97).arg(i);
        all.append(record);
    }
    for (auto _ : state) {
        SqliteDBOperations::deleteRecordsFromTable(QStringLiteral("tempTable"), dbPath);
        SqliteDBOperations::insertDataInTempTable(QStringLiteral("tempTable"), dbPath, all);
    }
}

BENCHMARK(BM_InsertBatches)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FetchPaths)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FillPathTable)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
