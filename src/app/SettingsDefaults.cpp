#include "app/SettingsDefaults.h"

#include <utility>
#include <vector>

#include "app/LocalizedString.h"
#include "platform/AppFolders.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"

namespace {

using TypeRow = std::pair<const char *, QStringList>;

QVariantList fileTypes(const std::vector<TypeRow> &rows, int rawIndex)
{
    QVariantList list;
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString name = localizedString(QString::fromLatin1(rows[i].first));
        list.append(SettingsDefaults::makeFileTypeEntry(name, rows[i].second, i == rawIndex));
    }
    return list;
}

QVariantMap dropDownRule(const QString &name, const QString &description, const QString &ruleKey)
{
    QVariantMap rule;
    rule.insert(QStringLiteral("name"), name);
    rule.insert(QStringLiteral("description"), description);
    rule.insert(QStringLiteral("state"), true);
    rule.insert(QStringLiteral("key"), ruleKey);
    rule.insert(QStringLiteral("isDropDown"), true);
    rule.insert(QStringLiteral("isMarkWithEarlier"), true);
    return rule;
}

} // namespace

QVariantMap SettingsDefaults::makeAutoMarkRule(const QString &nameKey, const QString &descriptionKey, bool enabled,
                                               const QString &ruleKey)
{
    QVariantMap rule;
    rule.insert(QStringLiteral("name"), nameKey);
    rule.insert(QStringLiteral("description"), descriptionKey);
    rule.insert(QStringLiteral("state"), enabled);
    rule.insert(QStringLiteral("key"), ruleKey);
    return rule;
}

QVariantList SettingsDefaults::defaultAutoMarkRules()
{
    QVariantList rules;
    rules.append(makeAutoMarkRule(QStringLiteral("ID_PHOTOS_LIBRARY_MARK"), QStringLiteral("ID_MARK_NONOLINEAER_PHOTOS"),
                                  true, QStringLiteral("library")));
    rules.append(makeAutoMarkRule(QStringLiteral("ID_IMAGE_DIMENSION_MARK"), QStringLiteral("ID_MARK_SMALLER_DIMENSION"),
                                  true, QStringLiteral("dimension")));
    rules.append(makeAutoMarkRule(QStringLiteral("ID_IMAGE_DPI_MARK"), QStringLiteral("ID_MARK_SMALLER_DPI"), true,
                                  QStringLiteral("dpi")));
    rules.append(makeAutoMarkRule(QStringLiteral("ID_IMAGE_SIZE_MARK"), QStringLiteral("ID_MARK_SMALLER_SIZE"), true,
                                  QStringLiteral("size")));
    rules.append(makeAutoMarkRule(QStringLiteral("ID_META_DATA_MARK"), QStringLiteral("ID_MARK_WITHOUT_METADATA"), true,
                                  QStringLiteral("metadata")));
    rules.append(dropDownRule(QStringLiteral("ID_CAPTURE_DATE_MARK"), QStringLiteral("ID_MARK_EARLIAR_DATE"),
                              QStringLiteral("date")));
    rules.append(
        dropDownRule(QStringLiteral("ID_MOD_DATE"), QStringLiteral("ID_MARK_EARLIAR_DATE"), QStringLiteral("modDate")));
    const QString preferDescription = formatText(localizedString(QStringLiteral("ID_MARK_JPEG_HEIC")), QStringLiteral("jpeg"));
    rules.insert(0, dropDownRule(QStringLiteral("ID_PREFER_FORMAT"), preferDescription, QStringLiteral("preferFormat")));
    return rules;
}

QVariantMap SettingsDefaults::makeFileTypeEntry(const QString &displayName, const QStringList &extensions, bool isRaw)
{
    QVariantMap entry;
    entry.insert(QStringLiteral("key"), displayName);
    QVariantList extns;
    for (const QString &e : extensions)
        extns.append(e);
    entry.insert(QStringLiteral("extns"), extns);
    entry.insert(QStringLiteral("state"), true);
    entry.insert(QStringLiteral("isRaw"), isRaw);
    return entry;
}

QVariantList SettingsDefaults::defaultImageTypes()
{
    // The raw row repeats "dng" and shares "tif" with the TIFF row on purpose: stored lists of
    // earlier versions hold exactly these entries, and migrations compare against them.
    const QStringList raw = {
        "dng", "3fr", "ari", "arw", "bay", "braw", "crw", "cr2", "cr3", "cap", "data", "dcs", "dcr",
        "dng", "drf", "eip", "erf", "fff", "gpr", "iiq", "k25", "mdc", "mef", "mos", "mrw", "nef",
        "nrw", "obm", "orf", "pef", "ptx", "pxn", "r3d", "raf", "raw", "rwl", "rw2", "rwz", "sr2",
        "srf", "tif", "emf", "ai", "eps", "pcx", "ps", "psd", "rad", "xbm", "wmf"};
    const std::vector<TypeRow> rows = {
        {"ID_ICON_IMAGE", {"icns"}},
        {"ID_FLC_ANIMATION", {"flc", "fli", "cel"}},
        {"ID_FLASHPIX_IMAGE", {"fpx"}},
        {"ID_GRAPHICS_INTERCHANGE_FORMATE", {"gif"}},
        {"ID_JPEG_2000_IMAGE", {"jp2", "jpf", "jpx", "j2k", "j2c"}},
        {"ID_JPEG_IMAGE", {"jpeg", "jpg", "jpe"}},
        {"ID_MACPAINT_IMAGE", {"pntg"}},
        {"ID_MULTIPLE_PICTURE_OBJECT_IMAGE", {"mpo"}},
        {"ID_OPENEXR_IMAGE", {"exr", "openexr"}},
        {"ID_PORTABLE_NETWORK_GRPAHICS_IMAGE", {"png"}},
        {"ID_QUICKDRAW_PICTURE", {"pict", "pct", "pic"}},
        {"ID_QUICKTIME_IMAGE", {"qtif", "qti"}},
        {"ID_RADIANCE", {"pic", "hdr"}},
        {"ID_SILICON_GRAPHICS_IMAGE", {"sgi"}},
        {"ID_TGA_IMAGE", {"tga"}},
        {"ID_TIFF_IMAGE", {"tiff", "tif"}},
        {"ID_WINDOW_BITMAP_IMAGE", {"bmp"}},
        {"ID_WINDOW_ICON_IMAGE", {"ico"}},
        {"ID_HEIC", {"heic"}},
        {"ID_HEIF", {"heif"}},
        {"ID_RAW_FORMAT", raw},
    };
    return fileTypes(rows, int(rows.size()) - 1);
}

QVariantList SettingsDefaults::defaultVideoTypes()
{
    const std::vector<TypeRow> rows = {
        {"ID_MOVING_PICTURE_EXPERTS_GROUP", {"MPEG"}},
        {"ID_ADVANCE_VIDEO_CODING", {"MP4"}},
        {"ID_DIGITAL_VIDEO_EXPRESS", {"DIVX"}},
        {"ID_METAL_OXIDE_VARISTO", {"MOV"}},
        {"ID_XVID_ENCODED_VIDEO_FILE", {"XVID"}},
        {"ID_SHORT_FOR_MPEG", {"MPG"}},
        {"ID_AVIDEO_INTERLEAVE", {"AVI"}},
        {"ID_WEBM_VIDEO_FILE", {"WEBM"}},
        {"ID_DIGITAL_VIDEO_FILE", {"DV"}},
        {"ID_3GPP_FILE_FORAMT", {"3GP"}},
        {"ID_ITUNES_VIDEO_FILE", {"M4V"}},
        {"ID_3RD_GENERATION_PARTNERSHIP_PROJECT", {"3GPP"}},
        {"ID_3PP2", {"3PP2"}},
        {"ID_MPEG_2", {"MPEG-2"}},
        {"ID_MPEG_1", {"MPEG-1"}},
        {"ID_MPA", {"MPA"}},
        {"ID_FLASH_VIDEO", {"FLV"}},
        {"ID_WINDOW_MEDIA_REDIRECTOR", {"WMX"}},
        {"ID_NSV", {"NSV"}},
        {"ID_SWF", {"SWF"}},
        {"ID_WMV", {"WMV"}},
        {"ID_MKV", {"MKV"}},
        {"ID_VOB", {"VOB"}},
        {"ID_HEVC", {"HEVC"}},
    };
    return fileTypes(rows, -1);
}

QStringList SettingsDefaults::defaultExcludedFolders()
{
    // Linux counterparts of the system folders (installed programs, kernel and device file systems)
    // and of the per-user folders: application data and caches, the freedesktop Trash and the
    // Dropbox client's synchronised copy. The home folder comes from AppFolders, never the user name.
    const QString home = AppFolders::homeFolder();
    return {
        QStringLiteral("/usr"),
        QStringLiteral("/opt"),
        QStringLiteral("/proc"),
        QStringLiteral("/sys"),
        QStringLiteral("/dev"),
        home + QStringLiteral("/.local/share"),
        home + QStringLiteral("/.local/share/Trash"),
        home + QStringLiteral("/.cache"),
        home + QStringLiteral("/Dropbox"),
    };
}

QVariantMap SettingsDefaults::defaultSettings()
{
    QVariantMap d;
    d.insert(QStringLiteral("comparePhotosOnGps"), true);
    d.insert(QStringLiteral("doNotShowConfirmationDialogOnTrash"), false);
    d.insert(QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView"), false);
    d.insert(QStringLiteral("doNotShowAutoMarkDialog"), false);
    d.insert(QStringLiteral("includePhotosLibInFolder"), false);
    d.insert(QStringLiteral("minimumFileSize"), qlonglong(50));
    d.insert(QStringLiteral("fileSizeUnit"), qlonglong(0));
    d.insert(QStringLiteral("scanPhotosFrom"), qlonglong(6));
    d.insert(QStringLiteral("scanFilesFromDate"), qlonglong(0));
    d.insert(QStringLiteral("allowPhotosLibScanInTimePeriod"), false);
    d.insert(QStringLiteral("indexMeanParts"), qlonglong(4));
    d.insert(QStringLiteral("allowedGPSDistance"), qlonglong(2));
    d.insert(QStringLiteral("setTimeInterval"), qlonglong(12));
    d.insert(QStringLiteral("setBitMapSize"), qlonglong(2));
    d.insert(QStringLiteral("setGpsDistance"), qlonglong(2));
    d.insert(QStringLiteral("setComparsionMethod"), qlonglong(1));
    d.insert(QStringLiteral("setInitialMatching"), qlonglong(4));
    d.insert(QStringLiteral("isCompareRotateImages"), true);
    d.insert(QStringLiteral("isCompareFlipImages"), true);
    d.insert(QStringLiteral("allowFullCleanning"), true);
    d.insert(QStringLiteral("appVersion"), QStringLiteral("0.0"));
    d.insert(QStringLiteral("allowVideoScanning"), true);
    d.insert(QStringLiteral("autoMarkRules"), defaultAutoMarkRules());
    d.insert(QStringLiteral("allowedExtensions"), defaultImageTypes());
    QVariantList excluded;
    for (const QString &folder : defaultExcludedFolders())
        excluded.append(folder);
    d.insert(QStringLiteral("excludedFolders"), excluded);
    d.insert(QStringLiteral("allowedVideoExtensions"), defaultVideoTypes());
    return d;
}

void SettingsDefaults::registerDefaultSettings()
{
    UserDefaults::standard().registerDefaults(defaultSettings());
}
