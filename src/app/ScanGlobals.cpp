#include "app/ScanGlobals.h"

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
    s.minimumAllowFileSize = minimumAllowFileSize.load();
    s.reSizeValue = reSizeValue.load();
    s.matchThreshold = matchThreshold.load();
    s.minimumMatchThreshold = minimumMatchThreshold.load();
    s.gpsDistanceLimit = gpsDistanceLimit.load();
    s.captureTimeInterval = captureTimeInterval.load();
    s.compareRotateImages = compareRotateImages.load();
    s.compareFlipImages = compareFlipImages.load();
    s.compareType = compareType.load();
    return s;
}

void ScanGlobals::resetToInitialValues()
{
    const ScanGlobalsSnapshot initial;
    scanType = initial.scanType;
    minimumAllowFileSize = initial.minimumAllowFileSize;
    reSizeValue = initial.reSizeValue;
    matchThreshold = initial.matchThreshold;
    minimumMatchThreshold = initial.minimumMatchThreshold;
    gpsDistanceLimit = initial.gpsDistanceLimit;
    captureTimeInterval = initial.captureTimeInterval;
    compareRotateImages = initial.compareRotateImages;
    compareFlipImages = initial.compareFlipImages;
    compareType = initial.compareType;
    dictExif().clear();
    dictHash().clear();
    setMarkedPhotosAlbumName(QString::fromLatin1(kDefaultAlbumName));
}

SharedPathDictionary<std::shared_ptr<ExifInfo>> &ScanGlobals::dictExif()
{
    static SharedPathDictionary<std::shared_ptr<ExifInfo>> instance;
    return instance;
}

SharedPathDictionary<QByteArray> &ScanGlobals::dictHash()
{
    static SharedPathDictionary<QByteArray> instance;
    return instance;
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
