// Records and database helpers shared by the cache tests.
#pragma once

#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

class ImageFileInfo;
struct ScanCacheIndex;

namespace CacheTestSupport
{

// A photo with EXIF data and eight fingerprint variants of side n, filled from `seed`.
std::shared_ptr<ImageFileInfo> photo(const QString &path, quint64 size, double modSeconds, int n, int seed);
// A video with an MD5 digest.
std::shared_ptr<ImageFileInfo> video(
    const QString &path, quint64 size, double modSeconds, const QString &md5);
// The stored block a photo made with `seed` has.
QByteArray fingerprintBlock(int n, int seed);

// A fresh cache file (template copy) named `fileName` in `folder`; returns its path.
QString freshCache(const QString &folder, const QString &fileName = QStringLiteral("quennary.db"));
// The cache index of the scan the tests play (N = 64 at the start of each test).
ScanCacheIndex &scanIndex();
// What the index loaded for a path: its fingerprint in stored form, else its digest.
std::optional<QByteArray> cachedBlock(const QString &path);
// Paths the index loaded a fingerprint or digest for.
qsizetype cachedCount();
// What the scan does before hashing: tables, path table, empty index, fetch into it.
void loadForScan(const QString &dbPath, const QList<std::shared_ptr<ImageFileInfo>> &records);

// Plain SQL on a cache file, for checks the interface does not offer.
qint64 countRows(const QString &dbPath, const QString &sqlCount);
bool execSql(const QString &dbPath, const QString &sql);
// Lines of the log file that contain `text`.
int logLinesContaining(const QString &text);

// A fresh cache in a temporary folder, with an empty scan index of N = 64.
class CacheFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QTemporaryDir m_folder;
    QString m_db;
};

} // namespace CacheTestSupport
