#include "model/CacheReader.h"

#include <climits>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include <sqlite3.h>

#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/SqliteConnection.h"
#include "model/SqliteStatement.h"

namespace
{

// Column positions of a fetched row.
enum Column {
    kId = 0,
    kPath = 1,
    kCaptureTime = 2,
    kFileSize = 3,
    kLatitude = 4,
    kLongitude = 5,
    kPixelWidth = 6,
    kPixelHeight = 7,
    kDpiWidth = 8,
    kDpiHeight = 9,
    kOrientation = 10,
    kModTime = 11,
    kFingerprintCheck = 13,
    kFingerprint = 14,
    kMd5Check = 15,
    kMd5 = 16,
    kChangeTime = 17,
};

QByteArray fetchSql(int n)
{
    const std::optional<QByteArray> table = CacheFormat::fingerprintTable(n);
    const QByteArray fingerprint = table ? "h.checkValue, h.hash" : "NULL, NULL";
    QByteArray sql = "SELECT e.id, e.filePath, e.captureTime, e.fileSize, e.latitude, e.longitude, "
                     "e.pixelWidth, e.pixelHeight, e.dpiWidth, e.dpiHeight, e.orientation, e.modTime, NULL, "
        + fingerprint
        + ", m.checkValue, m.md5, e.changeTime "
          "FROM tempTable t JOIN ExfInfo e ON e.filePath = t.filePath "
          "LEFT JOIN md5Table m ON m.exifId = e.id ";
    if (table)
        sql += "LEFT JOIN " + *table + " h ON h.exifId = e.id";
    return sql;
}

// The stored check value still describes this block beside this row's path, size and time.
bool matchesRow(const SqliteStatement &row, int checkColumn, QByteArrayView block)
{
    return !row.isNull(checkColumn)
        && row.columnInt64(checkColumn)
        == CacheFormat::checkValue(
            row.columnUtf8(kPath), quint64(row.columnInt64(kFileSize)), row.columnDouble(kModTime), block);
}

FingerprintVariants variantsOf(QByteArrayView block, int n, bool turnsCompared)
{
    FingerprintVariants variants;
    variants.appendStoredForm(block, n, turnsCompared ? INT_MAX : 1);
    return variants;
}

// The columns of a row that its EXIF record is made of.
struct ExifColumns {
    qint64 id = 0;
    qint64 fileSize = 0;
    double latitude = 0;
    double longitude = 0;
    double pixelWidth = 0;
    double pixelHeight = 0;
    double dpiWidth = 0;
    double dpiHeight = 0;
    qint64 orientation = 0;
    double modTime = 0;
    double changeTime = -1;
    double captureTime = 0;
};

ExifColumns exifColumns(const SqliteStatement &row)
{
    return ExifColumns { row.columnInt64(kId), row.columnInt64(kFileSize), row.columnDouble(kLatitude),
        row.columnDouble(kLongitude), row.columnDouble(kPixelWidth), row.columnDouble(kPixelHeight),
        row.columnDouble(kDpiWidth), row.columnDouble(kDpiHeight), row.columnInt64(kOrientation),
        row.columnDouble(kModTime), row.isNull(kChangeTime) ? -1.0 : row.columnDouble(kChangeTime),
        row.columnDouble(kCaptureTime) };
}

std::shared_ptr<ExifInfo> exifFrom(const ExifColumns &row)
{
    auto exif = std::make_shared<ExifInfo>();
    exif->exifInfoId = row.id;
    exif->fileSize = row.fileSize > 0 ? quint64(row.fileSize) : 0;
    exif->gpsLatitude = row.latitude;
    exif->gpsLongitude = row.longitude;
    exif->pixelWidth = qint64(row.pixelWidth);
    exif->pixelHeight = qint64(row.pixelHeight);
    exif->dpiWidth = row.dpiWidth;
    exif->dpiHeight = row.dpiHeight;
    exif->orientation = row.orientation;
    exif->moDateTime = row.modTime;
    exif->changeTime = row.changeTime;
    if (row.captureTime != 0.0)
        exif->captureDate = CacheFormat::dateFromSecondsSince1970(row.captureTime);
    return exif;
}

// What the reading thread hands on of a row: its path, its EXIF columns, and its fingerprint and
// digest once their check values held.
struct FetchedRow {
    QString path;
    ExifColumns columns;
    std::optional<FingerprintVariants> fingerprint;
    QByteArray md5;
};

// Rows go from the reading thread to the one that builds the tables in chunks of this many.
constexpr size_t kChunkRows = 256;

struct RowChunks {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::vector<FetchedRow>> chunks;
    bool ended = false;

    void push(std::vector<FetchedRow> &&chunk, bool last)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (!chunk.empty())
                chunks.push_back(std::move(chunk));
            ended = last;
        }
        ready.notify_one();
    }
    // Empty once the reading has ended and every chunk was taken.
    std::vector<FetchedRow> take()
    {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [this] { return ended || !chunks.empty(); });
        if (chunks.empty())
            return {};
        std::vector<FetchedRow> chunk = std::move(chunks.front());
        chunks.pop_front();
        return chunk;
    }
};

void addRow(FetchedRow &row, CacheFetchResult &result)
{
    std::shared_ptr<ExifInfo> exif = exifFrom(row.columns);
    if (!row.md5.isEmpty())
        exif->contentMd5 = QString::fromLatin1(row.md5);
    if (row.fingerprint)
        result.fingerprints.emplace(row.path, std::move(*row.fingerprint));
    else if (!row.md5.isEmpty())
        result.hashes.insert(row.path, row.md5);
    result.exif.emplace(std::move(row.path), std::move(exif));
}

} // namespace

std::optional<CacheFetchResult> CacheReader::fetch(SqliteConnection &connection, int n, bool turnsCompared)
{
    SqliteStatement query(connection, fetchSql(n).constData());
    SqliteStatement count(connection, "SELECT count(*) FROM tempTable");
    if (!query.isValid() || !count.isValid() || count.step() != SQLITE_ROW)
        return std::nullopt;
    // Sized once: a scan of 100,000 paths would otherwise rehash every key many times over.
    CacheFetchResult result;
    result.exif.reserve(count.columnInt64(0));
    result.hashes.reserve(count.columnInt64(0));
    result.fingerprints.reserve(count.columnInt64(0));
    // This thread reads and checks the rows; another makes their EXIF records and fills the tables
    // meanwhile (together a third of the fetch).
    RowChunks chunks;
    std::jthread builder([&chunks, &result] {
        for (std::vector<FetchedRow> chunk = chunks.take(); !chunk.empty(); chunk = chunks.take()) {
            for (FetchedRow &row : chunk)
                addRow(row, result);
        }
    });
    std::vector<FetchedRow> chunk;
    int step = SQLITE_ROW;
    while ((step = query.step()) == SQLITE_ROW) {
        FetchedRow &row = chunk.emplace_back();
        row.path = query.columnText(kPath);
        row.columns = exifColumns(query);
        // Read in place: the block goes straight into its variants.
        const QByteArrayView fingerprint = query.columnBlobView(kFingerprint);
        const QByteArray md5 = query.columnBlob(kMd5);
        if (CacheFormat::isValidMd5(md5) && matchesRow(query, kMd5Check, md5))
            row.md5 = md5;
        if (CacheFormat::isValidFingerprint(fingerprint, n)
            && matchesRow(query, kFingerprintCheck, fingerprint))
            row.fingerprint = variantsOf(fingerprint, n, turnsCompared);
        if (chunk.size() == kChunkRows) {
            chunks.push(std::move(chunk), false);
            chunk = {};
            chunk.reserve(kChunkRows);
        }
    }
    chunks.push(std::move(chunk), true);
    builder.join();
    if (step != SQLITE_DONE)
        return std::nullopt;
    return result;
}
