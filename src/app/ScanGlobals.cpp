#include "app/ScanGlobals.h"

#include <mutex>

namespace {

const char *const kDefaultAlbumName = "Duplicate Marked Photos";

struct AlbumName
{
    std::mutex mutex;
    QString name = QString::fromLatin1(kDefaultAlbumName);
};

AlbumName &albumName()
{
    static AlbumName instance;
    return instance;
}

} // namespace

ScanGlobalsSnapshot ScanGlobals::snapshot()
{
    ScanGlobalsSnapshot s;
    s.scanType = scanType.load();
    s.reSizeValue = reSizeValue.load();
    s.matchThreshold = matchThreshold.load();
    s.minimumMatchThreshold = minimumMatchThreshold.load();
    s.gpsDistanceLimit = gpsDistanceLimit.load();
    s.captureTimeInterval = captureTimeInterval.load();
    return s;
}

void ScanGlobals::resetToInitialValues()
{
    const ScanGlobalsSnapshot initial;
    scanType = initial.scanType;
    reSizeValue = initial.reSizeValue;
    matchThreshold = initial.matchThreshold;
    minimumMatchThreshold = initial.minimumMatchThreshold;
    gpsDistanceLimit = initial.gpsDistanceLimit;
    captureTimeInterval = initial.captureTimeInterval;
    setMarkedPhotosAlbumName(QString::fromLatin1(kDefaultAlbumName));
}

QString ScanGlobals::markedPhotosAlbumName()
{
    AlbumName &a = albumName();
    std::lock_guard<std::mutex> lock(a.mutex);
    return a.name;
}

void ScanGlobals::setMarkedPhotosAlbumName(const QString &name)
{
    AlbumName &a = albumName();
    std::lock_guard<std::mutex> lock(a.mutex);
    a.name = name;
}
