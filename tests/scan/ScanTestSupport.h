// Helpers of the scan tests: generated photo trees and a scan run to its end.
#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include "model/FilePathNode.h"
#include "scan/ScanEngine.h"
#include "scan/ScanOptions.h"

// Readable paths in assertion messages.
void PrintTo(const QString &text, std::ostream *os);

namespace ScanTestSupport
{

// A photo-like picture: smooth random blobs over a gradient, different for every seed.
QImage makePhoto(int seed, int width = 320, int height = 240);
// Writes a PNG as slow to decode as any picture of its size yet small on disk (tens of KB rather than
// several MB), so that trees of many of them stay light: a photo drawn at an eighth of the size,
// enlarged without smoothing and compressed.
bool writeLargePng(int seed, int width, int height, const QString &path);
// Writes `image` to `path` (format from the suffix), making the folders on the way.
bool writeImage(const QImage &image, const QString &path, int quality = 90);
// Random bytes of a given length, different for every seed.
QByteArray randomBytes(int seed, int length);

// Options of a similar scan at level 4 with 64 x 64 fingerprints, no size minimum, jpg and png
// photos; an exact scan adds mov videos.
ScanOptions options(bool exact, bool rotate = false, bool mirror = false);

FilePathNode folderNode(const QString &path);
FilePathNode fileNode(const QString &path);

struct ScanResult {
    ScanEngine::Outcome outcome = ScanEngine::Outcome::Stopped;
    bool finished = false;
    QList<QStringList> groups;
    QStringList records;
    int decoded = 0;
    std::optional<ScanProgress> lastProgress;
    // The finished scan's state: its records in scan order, with their fingerprints and dates.
    std::shared_ptr<const ScanSession> session;
    WalkReport walkReport;
};

// Runs one scan to its outcome (bounded wait); `onProgress` may stop the engine.
ScanResult runScan(const ScanOptions &options, const std::vector<FilePathNode> &sources,
    const std::function<void(ScanEngine &, const ScanProgress &)> &onProgress = {});

// The same for a scan started by `start`.
ScanResult runEngine(const std::function<bool(ScanEngine &)> &start,
    const std::function<void(ScanEngine &, const ScanProgress &)> &onProgress = {});

// Group member paths relative to `root`, sorted inside each group.
QList<QStringList> relativeGroups(const QList<QStringList> &groups, const QString &root);

} // namespace ScanTestSupport
