#include "app/CommonFunc.h"

#include <algorithm>
#include <cmath>

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QTextBoundaryFinder>
#include <QTimeZone>

#include "app/DateFormatPattern.h"
#include "app/LibraryDatabaseNames.h"
#include "app/MediaDownloader.h"
#include "app/OSVersionFlags.h"
#include "platform/AppFolders.h"
#include "platform/CloudConfiguration.h"
#include "platform/FileFacts.h"
#include "platform/Log.h"
#include "platform/Md5.h"
#include "platform/SystemFonts.h"
#include "platform/VariantNumber.h"

namespace
{

const char *const kDefaultDateTimeFormat = "MMM dd, yyyy hh:mm:ss a";

QString formatDate(const QDateTime &date, const QString &pattern)
{
    return QLocale().toString(date.toLocalTime(), DateFormatPattern::toQtFormat(pattern));
}

} // namespace

QString CommonFunc::formattedSize(const QVariant &value)
{
    static const char *const kUnits[] = { "bytes", "KB", "MB", "GB", "TB" };
    constexpr int kLastUnit = 4;
    if (!VariantNumber::isNumber(value))
        return QStringLiteral("0 bytes");
    double v = value.toDouble();
    int unit = 0;
    while (v >= 1000.0 && unit < kLastUnit) {
        v /= 1000.0;
        ++unit;
    }
    const QString name = QString::fromLatin1(kUnits[unit]);
    if (v == 0.0)
        return QStringLiteral("0 ") + name;
    // A whole number of its unit is written as one ("50 KB", as Preferences writes a limit).
    const double hundredths = std::round(v * 100.0);
    const bool whole = unit == 0 || std::fmod(hundredths, 100.0) == 0.0;
    const QString number = whole ? QString::asprintf("%4.0f", v) : QString::asprintf("%4.2f", v);
    return (number + QLatin1Char(' ') + name).trimmed();
}

QString CommonFunc::getSizeInUnits(const QVariant &value)
{
    return formattedSize(value);
}

std::optional<QDateTime> CommonFunc::dateFromExifString(const QString &text)
{
    if (text.isNull())
        return std::nullopt;
    const QDateTime date = QLocale(QLocale::English, QLocale::UnitedStates)
                               .toDateTime(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QString> CommonFunc::getStringFrom(const QDateTime &date)
{
    return getDateTimeStringFrom(date, QStringLiteral("MMM dd, yyyy"));
}

std::optional<QString> CommonFunc::getDateTimeStringFrom(const QDateTime &date)
{
    return getDateTimeStringFrom(date, QString());
}

std::optional<QString> CommonFunc::getDateTimeStringFrom(const QDateTime &date, const QString &format)
{
    if (!date.isValid())
        return std::nullopt;
    return formatDate(date, format.isNull() ? QString::fromLatin1(kDefaultDateTimeFormat) : format);
}

QDateTime CommonFunc::dayStartInGMT(const QDateTime &date)
{
    if (!date.isValid())
        return QDateTime();
    return QDateTime(date.toLocalTime().date(), QTime(0, 0), Qt::UTC);
}

QDateTime CommonFunc::localDayStart(const QDateTime &date)
{
    if (!date.isValid())
        return QDateTime();
    return date.toLocalTime().date().startOfDay(Qt::LocalTime);
}

QDateTime CommonFunc::localDayStartSecondsBefore(const QDateTime &now, double seconds)
{
    return localDayStart(now.addMSecs(qint64(-seconds * 1000.0)));
}

QDateTime CommonFunc::periodStart(int choice, const QDateTime &now)
{
    static constexpr double kSecondsBack[] = { 0, 86400, 604800, 1296000, 2592000, 31536000 };
    if (choice == 0)
        return localDayStart(now);
    if (choice >= 1 && choice <= 5)
        return localDayStartSecondsBefore(now, kSecondsBack[choice]);
    return QDateTime();
}

QDateTime CommonFunc::dateSecondsAgo(double seconds)
{
    const QDateTime then = QDateTime::currentDateTime().addMSecs(qint64(-seconds * 1000.0));
    return dayStartInGMT(then);
}

QString CommonFunc::escapeRegexCharacters(const QString &text)
{
    static const QString kSpecial = QStringLiteral("^|()[]{}$*?./\\+\"");
    QString out;
    out.reserve(text.size() * 2);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end >= 0; end = finder.toNextBoundary()) {
        const QString cluster = text.mid(start, end - start);
        if (cluster.size() == 1 && kSpecial.contains(cluster.at(0)))
            out += QLatin1Char('\\');
        out += cluster;
        start = end;
    }
    return out;
}

AttributedTitle CommonFunc::buttonTitle(const QString &title, int fontSize)
{
    AttributedTitle result;
    result.text = title;
    result.alignment = Qt::AlignHCenter;
    const QFont font = SystemFonts::systemFont(fontSize);
    result.addRun(0, int(title.size()), QColor(Qt::white), font);
    return result;
}

QColor CommonFunc::twoPartSecondColor()
{
    return QColor::fromRgbF(54.0f / 255.0f, 62.0f / 255.0f, 85.0f / 255.0f, 1.0f);
}

AttributedTitle CommonFunc::twoPartButtonTitle(
    const QString &title, const QString &completeText, int fontSize)
{
    AttributedTitle result;
    result.text = completeText;
    result.alignment = Qt::AlignHCenter;
    const int titleLength = int(title.size());
    const QFont font = SystemFonts::systemFont(fontSize);
    result.addRun(0, titleLength, QColor(Qt::white), std::nullopt);
    result.addRun(titleLength, 2, twoPartSecondColor(), std::nullopt);
    result.addRun(0, titleLength, std::nullopt, font);
    return result;
}

AttributedTitle CommonFunc::recoloredTitle(const AttributedTitle &title, const QColor &color)
{
    AttributedTitle result = title;
    result.addRun(0, int(title.text.size()), color, std::nullopt);
    return result;
}

double CommonFunc::fittingWidth(const QString &text, const QFont &font)
{
    constexpr double kMinimum = 25.0;
    if (text.isEmpty())
        return kMinimum;
    return qMax(kMinimum, QFontMetricsF(font).horizontalAdvance(text) + 10.0);
}

QRectF CommonFunc::centeredFrame(const QRectF &window, const QRectF &reference)
{
    const double x = reference.x() + (reference.width() - window.width()) * 0.5;
    const double y0 = reference.y() - (OSVersionFlags::isOS11OrLater ? 60.0 : 0.0);
    const double y = y0 + (reference.height() - window.height()) * 0.5;
    return QRectF(x, y, window.width(), window.height());
}

bool CommonFunc::isApplicationRunning(const QString &bundleId)
{
    const QString wanted = bundleId.toLower();
    const QDir proc(QStringLiteral("/proc"));
    const QStringList pids = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromUtf8(comm.readAll()).trimmed();
        if (!name.isEmpty() && name.toLower() == wanted)
            return true;
    }
    return false;
}

QString CommonFunc::photosLibraryDatabasePath(const QString &libraryPath)
{
    return photosLibraryDatabasePath(LibraryDatabaseNames(libraryPath));
}

QString CommonFunc::photosLibraryDatabasePath(const LibraryDatabaseNames &names)
{
    const auto pick = [&names](const char *preferred, const char *fallback) {
        const QString first = names.find(QLatin1String(preferred));
        return first.isEmpty() ? names.find(QLatin1String(fallback)) : first;
    };
    if (const QString apdb = pick("database/apdb/Library.apdb", "database/Library.apdb"); !apdb.isEmpty())
        return apdb;
    const QString photosDb = pick("database/apdb/photos.db", "database/photos.db");
    if (!OSVersionFlags::isOS1015 && !OSVersionFlags::isOS11OrLater)
        return photosDb.isEmpty() ? names.spelled(QStringLiteral("database/photos.db")) : photosDb;
    // A library written by an older release keeps only photos.db; the newest layout's file is
    // preferred, but a library is never reported without a database it actually has.
    const QString photosSqlite = names.find(QStringLiteral("database/photos.sqlite"));
    if (photosSqlite.isEmpty())
        return photosDb.isEmpty() ? names.spelled(QStringLiteral("database/photos.sqlite")) : photosDb;
    return photosSqlite;
}

bool CommonFunc::hasPhotosLibraryDatabase(const QString &folderPath)
{
    return hasPhotosLibraryDatabase(LibraryDatabaseNames(folderPath));
}

bool CommonFunc::hasPhotosLibraryDatabase(const LibraryDatabaseNames &names)
{
    static const char *const kCandidates[] = { "database/Library.apdb", "database/photos.db",
        "database/apdb/Library.apdb", "database/photos.sqlite" };
    return std::any_of(std::cbegin(kCandidates), std::cend(kCandidates),
        [&names](const char *candidate) { return !names.find(QLatin1String(candidate)).isEmpty(); });
}

bool CommonFunc::isFileLocked(const QString &path)
{
    return FileFacts::isImmutable(path);
}

bool CommonFunc::checkForNetWorkDrive(const QString &path)
{
    return FileFacts::isNetworkVolume(path);
}

std::optional<QString> CommonFunc::md5OfFile(const QString &path, const std::atomic<bool> *stop)
{
    return Md5::ofFile(path, stop);
}

QString CommonFunc::thumbnailsDirectoryPath()
{
    return AppFolders::thumbnailsFolder();
}

QString CommonFunc::googleDriveThumbnailDirPath()
{
    return thumbnailsDirectoryPath();
}

void CommonFunc::removeItemIfExists(const QString &path)
{
    // From the checked folder's descriptor: a folder of ours refused as not the user's alone may
    // lead anywhere, into the user's own documents too.
    if (!path.isEmpty() && !AppFolders::removeEntry(path))
        Log::line(QStringLiteral("Not removed: ") + path);
}

void CommonFunc::deleteGoogleDriveThumbnail(const QString &path)
{
    removeItemIfExists(path);
}

void CommonFunc::removeThumbnailsFolder()
{
    removeItemIfExists(thumbnailsDirectoryPath());
}

void CommonFunc::deleteGoogleDriveThumbnails()
{
    removeThumbnailsFolder();
}

std::optional<QString> CommonFunc::downloadGoogleDriveThumbnail(const QString &thumbnailLink,
    const QString &folderId, const QString &folderName, qint64 listedBytes, const QUrl &configuredBase,
    const std::atomic<bool> *stop, QString *why)
{
    return MediaDownloader::downloadDriveImage(thumbnailLink, { configuredBase }, folderId, folderName,
        thumbnailsDirectoryPath(), listedBytes, stop, CloudConfiguration::transferTimeoutMs(), why);
}
