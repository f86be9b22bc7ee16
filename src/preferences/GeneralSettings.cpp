#include "preferences/GeneralSettings.h"

#include "app/SettingsDefaults.h"
#include "model/CacheFile.h"
#include "model/SqliteDBOperations.h"
#include "platform/NotificationCenter.h"
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

void GeneralSettings::clearCache(ScanSource scanSource)
{
    const QString fileName = SqliteDBOperations::cacheFileNameForScanType(scanSource);
    CacheFile::remove(SqliteDBOperations::getDbPathInLibrary(fileName));
}
