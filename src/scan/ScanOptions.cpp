#include "scan/ScanOptions.h"

#include "platform/UserDefaults.h"

namespace
{

int sliderIndex(const UserDefaults &defaults, const QString &key, int fallback)
{
    const QVariant value = defaults.objectForKey(key);
    return ScanThresholds::holdsNumber(value) ? int(value.toDouble()) : fallback;
}

void appendEnabledTypes(const QVariantList &types, QStringList &into, QStringList *alsoInto)
{
    for (const QVariant &entry : types) {
        const QVariantMap type = entry.toMap();
        if (!type.value(QStringLiteral("state")).toBool())
            continue;
        for (const QVariant &extension : type.value(QStringLiteral("extns")).toList()) {
            const QString lower = extension.toString().toLower();
            into.append(lower);
            if (alsoInto)
                alsoInto->append(lower);
        }
    }
}

qint64 minimumFileSize(const UserDefaults &defaults)
{
    qint64 bytes = defaults.integerForKey(QStringLiteral("minimumFileSize")) * 1024;
    if (defaults.integerForKey(QStringLiteral("fileSizeUnit")) == 1)
        bytes *= 1024;
    return bytes;
}

} // namespace

ScanSliderPositions ScanSliderPositions::fromDefaults(const UserDefaults &defaults)
{
    ScanSliderPositions positions;
    positions.bitmapIndex = sliderIndex(defaults, QStringLiteral("setBitMapSize"), positions.bitmapIndex);
    positions.gpsIndex = sliderIndex(defaults, QStringLiteral("setGpsDistance"), positions.gpsIndex);
    positions.timeIndex = sliderIndex(defaults, QStringLiteral("setTimeInterval"), positions.timeIndex);
    return positions;
}

void ScanOptions::loadAllowedExtensions(
    const UserDefaults &defaults, bool withVideos, QStringList &extensions, QStringList &videoExtensions)
{
    extensions.clear();
    videoExtensions.clear();
    appendEnabledTypes(defaults.arrayForKey(QStringLiteral("allowedExtensions")), extensions, nullptr);
    if (withVideos)
        appendEnabledTypes(
            defaults.arrayForKey(QStringLiteral("allowedVideoExtensions")), extensions, &videoExtensions);
}

ScanOptions ScanOptions::load(const UserDefaults &defaults, GlobalObjects::CompareType mode,
    const ScanSliderPositions &sliders, const ScanGlobalsSnapshot &previous)
{
    ScanOptions options;
    ScanGlobalsSnapshot &g = options.globals;
    g = previous;
    g.compareType = mode;
    const int level
        = ScanThresholds::matchingLevel(defaults.objectForKey(QStringLiteral("setInitialMatching")));
    if (const auto thresholds = ScanThresholds::thresholdsForLevel(level)) {
        g.matchThreshold = thresholds->matchThreshold;
        g.minimumMatchThreshold = thresholds->minimumMatchThreshold;
    }
    g.minimumAllowFileSize = minimumFileSize(defaults);
    const QVariant rotate = defaults.objectForKey(QStringLiteral("isCompareRotateImages"));
    if (ScanThresholds::holdsNumber(rotate))
        g.compareRotateImages = rotate.toBool();
    const QVariant flip = defaults.objectForKey(QStringLiteral("isCompareFlipImages"));
    if (ScanThresholds::holdsNumber(flip))
        g.compareFlipImages = flip.toBool();
    g.reSizeValue = ScanThresholds::bitmapSizeForIndex(sliders.bitmapIndex).value_or(g.reSizeValue);
    g.gpsDistanceLimit = ScanThresholds::gpsDistanceForIndex(sliders.gpsIndex).value_or(g.gpsDistanceLimit);
    g.captureTimeInterval
        = ScanThresholds::timeIntervalForIndex(sliders.timeIndex).value_or(g.captureTimeInterval);
    if (options.exact()) {
        g.matchThreshold = ScanThresholds::kExactMatchThreshold;
        g.reSizeValue = ScanThresholds::kExactBitmapSize;
    }

    options.allowVideoScanning = defaults.boolForKey(QStringLiteral("allowVideoScanning"));
    loadAllowedExtensions(defaults, options.exact() && options.allowVideoScanning, options.allowedExtensions,
        options.videoExtensions);
    for (const QVariant &folder : defaults.arrayForKey(QStringLiteral("excludedFolders")))
        options.excludedFolders.append(folder.toString());
    options.includePhotosLibInFolder = defaults.boolForKey(QStringLiteral("includePhotosLibInFolder"));
    options.period.enabled = defaults.boolForKey(QStringLiteral("allowPhotosLibScanInTimePeriod"));
    options.period.filesFromDate = int(defaults.integerForKey(QStringLiteral("scanFilesFromDate")));
    options.period.photosFrom = int(defaults.integerForKey(QStringLiteral("scanPhotosFrom")));
    options.indexMeanParts = int(defaults.integerForKey(QStringLiteral("indexMeanParts")));
    return options;
}

ScanOptions ScanOptions::load(
    const UserDefaults &defaults, GlobalObjects::CompareType mode, ScanSource scanType)
{
    ScanGlobalsSnapshot previous;
    previous.scanType = scanType;
    return load(defaults, mode, ScanSliderPositions::fromDefaults(defaults), previous);
}

RecordSettings ScanOptions::recordSettings() const
{
    return { globals.reSizeValue, globals.minimumAllowFileSize, globals.scanType, indexMeanParts };
}
