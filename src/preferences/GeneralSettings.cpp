#include "preferences/GeneralSettings.h"

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "model/CacheFile.h"
#include "model/SqliteDBOperations.h"
#include "platform/NotificationCenter.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"

std::vector<std::pair<QString, QVariant>> GeneralSettings::resetValues()
{
    QVariantList excludedFolders;
    for (const QString &folder : SettingsDefaults::defaultExcludedFolders())
        excludedFolders.append(folder);
    // Some values differ from the registered defaults on purpose ("allowedGPSDistance" 10, the
    // real number 4.0, "includeiPhotoLibInFolder" written at all); readers take them as they are.
    return {
        { QStringLiteral("doNotShowAutoMarkDialog"), false },
        { QStringLiteral("comparePhotosOnGps"), true },
        { QStringLiteral("doNotShowConfirmationDialogOnTrash"), false },
        { QStringLiteral("includeiPhotoLibInFolder"), false },
        { QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView"), false },
        { QStringLiteral("minimumFileSize"), qlonglong(50) },
        { QStringLiteral("fileSizeUnit"), qlonglong(0) },
        { QStringLiteral("allowedGPSDistance"), qlonglong(10) },
        { QStringLiteral("setTimeInterval"), qlonglong(12) },
        { QStringLiteral("setBitMapSize"), qlonglong(2) },
        { QStringLiteral("setGpsDistance"), qlonglong(2) },
        { QStringLiteral("setComparsionMethod"), qlonglong(1) },
        { QStringLiteral("setInitialMatching"), 4.0 },
        { QStringLiteral("indexMeanParts"), qlonglong(4) },
        { QStringLiteral("allowVideoScanning"), true },
        { QStringLiteral("includePhotosLibInFolder"), false },
        { QStringLiteral("isCompareRotateImages"), true },
        { QStringLiteral("isCompareFlipImages"), true },
        { QStringLiteral("autoMarkRules"), SettingsDefaults::defaultAutoMarkRules() },
        { QStringLiteral("allowedExtensions"), SettingsDefaults::defaultImageTypes() },
        { QStringLiteral("excludedFolders"), excludedFolders },
        { QStringLiteral("allowedVideoExtensions"), SettingsDefaults::defaultVideoTypes() },
        { QStringLiteral("scanPhotosFrom"), qlonglong(6) },
        { QStringLiteral("scanFilesFromDate"), qlonglong(0) },
        { QStringLiteral("allowPhotosLibScanInTimePeriod"), false },
    };
}

void GeneralSettings::resetDefaults(UserDefaults &defaults)
{
    for (const auto &[key, value] : resetValues())
        defaults.setObject(key, value);
    NotificationCenter::defaultCenter().post(kPreferencesResetToDefaults);
}

std::optional<qint64> GeneralSettings::clearCache(ScanSource scanSource)
{
    return CacheFile::remove(cachePath(scanSource));
}

QString GeneralSettings::cachePath(ScanSource scanSource)
{
    return SqliteDBOperations::getDbPathInLibrary(SqliteDBOperations::cacheFileNameForScanType(scanSource));
}

ClearCacheReport GeneralSettings::clearCacheReport(ScanSource scanSource, const std::optional<qint64> &removed)
{
    const auto text = [](const char *key) { return localizedString(QString::fromLatin1(key)); };
    if (!removed)
        return { false, text("ID_CACHE_NOT_CLEARED"),
            formatText(text("ID_CACHE_NOT_CLEARED_DETAIL"), cachePath(scanSource)) };
    const char *sourceKey = scanSource == ScanSource::dropbox ? "ID_DROPBOX"
        : scanSource == ScanSource::googleDrive              ? "ID_GOOGLE_DRIVE"
                                                             : "ID_FINDER";
    if (*removed == 0)
        return { true, text("ID_CACHE_CLEARED"), formatText(text("ID_CACHE_WAS_EMPTY"), text(sourceKey)) };
    return { true, text("ID_CACHE_CLEARED"),
        formatText(text("ID_CACHE_CLEARED_DETAIL"), CommonFunc::formattedSize(QVariant::fromValue(quint64(*removed))),
            text(sourceKey)) };
}
