#include "app/FileOperations.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "app/PrivilegedRunner.h"
#include "app/RemoveItem.h"
#include "platform/AppFolders.h"
#include "platform/FileFacts.h"
#include "platform/Log.h"

namespace
{

PrivilegedRunner *&runnerOverride()
{
    static PrivilegedRunner *runner = nullptr;
    return runner;
}

PrivilegedRunner &runner()
{
    static PrivilegedRunner real;
    return runnerOverride() ? *runnerOverride() : real;
}

// A recursive removal never runs on a path the privileged removal would refuse: a relative or
// unnormalised path, a system root, the home folder or anything above it, also through links.
bool allAcceptable(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!RemoveItem::isAcceptablePath(path)) {
            systemLogLine(QStringLiteral("Refused to remove \"%1\"").arg(path));
            return false;
        }
    }
    return true;
}

QString autostartFolder()
{
    return QFileInfo(AppFolders::settingsFolder()).absolutePath() + QStringLiteral("/autostart");
}

// The path an autostart entry starts, read from its "Exec" line.
QString autostartTarget(const QString &desktopFile)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return QString();
}

qsizetype componentCount(const QString &path)
{
    return path.split(QLatin1Char('/')).size();
}

void collectApps(const QString &folder, std::optional<int> levels, QStringList &out)
{
    const QFileInfoList entries
        = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.suffix().compare(QLatin1String("app"), Qt::CaseInsensitive) == 0) {
            out.append(entry.absoluteFilePath());
            continue;
        }
        if (entry.isDir() && !entry.isSymLink()
            && (!levels || componentCount(entry.absoluteFilePath()) <= *levels))
            collectApps(entry.absoluteFilePath(), levels, out);
    }
}

} // namespace

QString FileOperations::convertBytesToApplicableUnit(
    const QVariantMap &unitNames, const QVariant &sizeInBytes)
{
    static const char *const kSteps[] = { "KB", "MB", "GB", "TB" };
    QString name = unitNames.value(QStringLiteral("bytes")).toString();
    const QString bytesName = name;
    double v = sizeInBytes.toDouble();
    for (const char *step : kSteps) {
        if (v <= 1024.0)
            break;
        v *= 1.0 / 1024.0;
        name = unitNames.value(QString::fromLatin1(step)).toString();
    }
    const QString number = name == bytesName ? QString::asprintf("%.0f", v) : QString::asprintf("%.01f", v);
    return number + QLatin1Char(' ') + name;
}

QString FileOperations::getFileSize(const QString &path)
{
    return QString::number(quint64(FileFacts::size(path).value_or(0)));
}

std::optional<QString> FileOperations::getFileLastModifiedDateTime(const QString &path)
{
    const std::optional<QDateTime> date = FileFacts::modificationDate(path);
    if (!date)
        return std::nullopt;
    const QLocale locale;
    const QDateTime local = date->toLocalTime();
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(local.time(), QLocale::ShortFormat);
}

QVariantMap FileOperations::getItemAMCDates(const QString &path)
{
    QVariantMap dates;
    if (const auto accessed = FileFacts::accessDate(path))
        dates.insert(
            QStringLiteral("aDate"), QDateTime::fromSecsSinceEpoch(accessed->toSecsSinceEpoch(), Qt::UTC));
    if (const auto created = FileFacts::creationDate(path))
        dates.insert(QStringLiteral("cDate"), *created);
    if (const auto modified = FileFacts::modificationDate(path))
        dates.insert(QStringLiteral("mDate"), *modified);
    return dates;
}

bool FileOperations::deleteFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    bool removed = false;
    if (info.isDir() && !info.isSymLink())
        removed = QDir(path).removeRecursively();
    else
        removed = QFile::remove(path);
    if (!removed && error)
        *error = QStringLiteral("Cannot remove ") + path;
    return removed;
}

bool FileOperations::deleteDirectoryContents(const QString &folder, QString *error)
{
    bool allRemoved = true;
    for (const QString &file : getFilesListInDirectory(folder)) {
        if (deleteFile(file, error))
            continue;
        if (error)
            return false;
        allRemoved = false;
    }
    return allRemoved;
}

QStringList FileOperations::getFilesListInDirectory(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isFile() && !it.fileInfo().isSymLink())
            files.append(path);
    }
    return files;
}

QStringList FileOperations::getFilesListInDirectory(const QString &folder, const QString &extension)
{
    QStringList found;
    const QFileInfoList entries
        = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink())
            continue;
        if (entry.suffix().compare(extension, Qt::CaseInsensitive) == 0)
            found.append(entry.absoluteFilePath());
        else
            found.append(getFilesListInDirectory(entry.absoluteFilePath(), extension));
    }
    return found;
}

QStringList FileOperations::getFilesFoldersListInDirectory(const QString &folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        return {};
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

quint64 FileOperations::folderSizeInBytes(const QString &folder)
{
    quint64 total = 0;
    for (const QString &file : getFilesListInDirectory(folder))
        total += quint64(FileFacts::size(file).value_or(0));
    return total;
}

QString FileOperations::getDirectorySize(const QString &folder)
{
    return QString::asprintf("%f", double(folderSizeInBytes(folder)));
}

QString FileOperations::fastFolderSize(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("0");
    return QString::number(folderSizeInBytes(folder));
}

QString FileOperations::getSizeOfFileOrFolder(const QString &path)
{
    return QFileInfo(path).isDir() ? folderSizeUnix(path) : getFileSize(path);
}

QString FileOperations::folderSizeUnix(const QString &path)
{
    return fastFolderSize(path);
}

std::optional<QStringList> FileOperations::getAppListFromPath(
    const QString &folder, std::optional<int> levels)
{
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isReadable()) {
        systemLogLine(QStringLiteral("Cannot read folder ") + folder);
        return std::nullopt;
    }
    QStringList apps;
    collectApps(folder, levels, apps);
    return apps;
}

QString FileOperations::getLanguageNodeName(const QString &path)
{
    const QString identifier = QFileInfo(path).completeBaseName();
    const QLocale locale(identifier);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return identifier;
    return QLocale::languageToString(locale.language());
}

bool FileOperations::deleteItemFromTerminalCommand(const QString &path)
{
    return allAcceptable({ path }) && AppFolders::removeEntry(path);
}

bool FileOperations::removeFileWithElevatedPrivilegesFromLocation(const QString &path)
{
    return removeFilesWithElevatedPrivilegesFromLocations({ path });
}

bool FileOperations::removeFilesWithElevatedPrivilegesFromLocations(const QStringList &paths)
{
    // The runner outlives the request; the shared pointer does not own it.
    RemoveItem remover(std::shared_ptr<PrivilegedRunner>(&runner(), [](PrivilegedRunner *) {}));
    return remover.removeMultipleItems(paths);
}

void FileOperations::setPrivilegedRunner(PrivilegedRunner *replacement)
{
    runnerOverride() = replacement;
}

bool FileOperations::addApplicationAsLoginItem(const QString &applicationPath)
{
    if (!AppFolders::ensureFolder(autostartFolder()))
        return false;
    const QString entry = autostartFolder() + QLatin1Char('/') + QFileInfo(applicationPath).completeBaseName()
        + QStringLiteral(".desktop");
    QFile file(entry);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QByteArray content
        = "[Desktop Entry]\nType=Application\nName=" + QFileInfo(applicationPath).completeBaseName().toUtf8()
        + "\nExec=" + applicationPath.toUtf8() + "\n";
    return file.write(content) == content.size();
}

bool FileOperations::deleteApplicationFromLoginItem(const QString &applicationPath)
{
    bool allRemoved = true;
    const QDir folder(autostartFolder());
    for (const QString &name : folder.entryList({ QStringLiteral("*.desktop") }, QDir::Files)) {
        const QString entry = folder.filePath(name);
        if (autostartTarget(entry) == applicationPath && !QFile::remove(entry))
            allRemoved = false;
    }
    return allRemoved;
}

QStringList FileOperations::getApplicationsListFromLoginItem()
{
    QStringList paths;
    const QDir folder(autostartFolder());
    for (const QString &name : folder.entryList({ QStringLiteral("*.desktop") }, QDir::Files, QDir::Name)) {
        const QString target = autostartTarget(folder.filePath(name));
        if (!target.isEmpty() && QFileInfo::exists(target))
            paths.append(target);
    }
    return paths;
}

std::optional<QString> FileOperations::findOrCreateDirectory(
    QStandardPaths::StandardLocation kind, const QString &component, QString *error)
{
    QString path = QStandardPaths::writableLocation(kind);
    if (path.isEmpty())
        return std::nullopt;
    if (!component.isEmpty())
        path += QLatin1Char('/') + component;
    if (!AppFolders::ensureFolder(path)) {
        if (error)
            *error = QStringLiteral("Cannot create ") + path;
        return std::nullopt;
    }
    if (error)
        error->clear();
    return path;
}

std::optional<QString> FileOperations::applicationSupportDirectory()
{
    const QString path = AppFolders::supportFolder();
    if (!AppFolders::ensureFolder(path)) {
        systemLogLine(QStringLiteral("Unable to find or create application support directory: ") + path);
        return std::nullopt;
    }
    return path;
}
