#include "scan/ScanOptions.h"

#include <limits>

#include "app/SettingsDefaults.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "scan/ExclusionMatcher.h"

namespace
{

int sliderIndex(const UserDefaults &defaults, const QString &key, int fallback)
{
    const QVariant value = defaults.objectForKey(key);
    return ScanThresholds::holdsNumber(value) ? int(value.toDouble()) : fallback;
}

// The extensions of the types of `types` ticked (`ticked`) or not.
void appendTypes(const QVariantList &types, bool ticked, QStringList &into, QStringList *alsoInto)
{
    for (const QVariant &entry : types) {
        const QVariantMap type = entry.toMap();
        if (type.value(QStringLiteral("state")).toBool() != ticked)
            continue;
        for (const QVariant &extension : type.value(QStringLiteral("extns")).toList()) {
            const QString lower = extension.toString().toLower();
            into.append(lower);
            if (alsoInto)
                alsoInto->append(lower);
        }
    }
}

// The setting `key` as a whole number within [low, high]; otherwise its registered default, with
// one log line: a value outside the range would turn the filter it sets inside out.
qint64 rangedInteger(const UserDefaults &defaults, const QString &key, qint64 low, qint64 high)
{
    const QVariant value = defaults.objectForKey(key);
    if (ScanThresholds::holdsNumber(value)) {
        const double number = value.toDouble();
        if (number >= double(low) && number <= double(high))
            return qint64(number);
    }
    Log::line(QStringLiteral("Setting %1 holds %2, outside %3 to %4; the default is used")
                  .arg(key, value.toString())
                  .arg(low)
                  .arg(high));
    return SettingsDefaults::defaultSettings().value(key).toLongLong();
}

qint64 minimumFileSize(const UserDefaults &defaults)
{
    // Kilobytes or megabytes of 1000, the units every size on screen is written in, so the limit
    // reads back as the number Preferences shows; the bound keeps the product in range.
    constexpr qint64 kLimit = std::numeric_limits<qint64>::max() / (1000 * 1000);
    const qint64 unit = defaults.integerForKey(QStringLiteral("fileSizeUnit")) == 1 ? 1000 * 1000 : 1000;
    return rangedInteger(defaults, QStringLiteral("minimumFileSize"), -kLimit, kLimit) * unit;
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
    appendTypes(defaults.arrayForKey(QStringLiteral("allowedExtensions")), true, extensions, nullptr);
    if (withVideos)
        appendTypes(defaults.arrayForKey(QStringLiteral("allowedVideoExtensions")), true, extensions,
            &videoExtensions);
}

QStringList ScanOptions::loadUntickedExtensions(
    const UserDefaults &defaults, bool withVideos, const QStringList &allowed)
{
    QStringList unticked;
    appendTypes(defaults.arrayForKey(QStringLiteral("allowedExtensions")), false, unticked, nullptr);
    if (withVideos)
        appendTypes(defaults.arrayForKey(QStringLiteral("allowedVideoExtensions")), false, unticked, nullptr);
    // An extension two types share ("tif") is scanned while either of them is ticked.
    unticked.removeIf([&allowed](const QString &extension) { return allowed.contains(extension); });
    unticked.removeDuplicates();
    return unticked;
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
    const bool withVideos = options.exact() && options.allowVideoScanning;
    loadAllowedExtensions(defaults, withVideos, options.allowedExtensions, options.videoExtensions);
    options.untickedExtensions = loadUntickedExtensions(defaults, withVideos, options.allowedExtensions);
    options.excludedFolders
        = ExclusionMatcher::foldersFrom(defaults.arrayForKey(QStringLiteral("excludedFolders")));
    options.includePhotosLibInFolder = defaults.boolForKey(QStringLiteral("includePhotosLibInFolder"));
    // The date controls are greyed for a cloud source: a filter the user can neither see nor change
    // is not applied, while the stored choice waits for the next scan of this computer.
    options.period.enabled = defaults.boolForKey(QStringLiteral("allowPhotosLibScanInTimePeriod"))
        && g.scanType == ScanSource::thisComputer;
    options.period.filesFromDate = int(defaults.integerForKey(QStringLiteral("scanFilesFromDate")));
    options.period.photosFrom = int(defaults.integerForKey(QStringLiteral("scanPhotosFrom")));
    // The comparison reads the eight variants of layout 4 alone; another layout would find nothing.
    options.indexMeanParts = int(rangedInteger(defaults, QStringLiteral("indexMeanParts"), 4, 4));
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
    return { globals.reSizeValue, globals.minimumAllowFileSize, globals.scanType, indexMeanParts,
        globals.compareRotateImages || globals.compareFlipImages };
}
