#include "platform/AppFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "platform/Log.h"
#include "platform/OwnFolder.h"
#include "platform/PathRules.h"
#include "platform/PrivateFiles.h"

namespace {

const char *const kAppFolderName = "Quennary";
// A folder counts as the resources folder only when it holds the table every lookup falls back to.
const char *const kResourceMarker = "strings/QNY_en.plist";

// /proc/self/exe names the program even before (or without) an application object.
QString programFolder()
{
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return program.isEmpty() ? QString() : QFileInfo(program).absolutePath();
}

std::mutex &overrideMutex()
{
    static std::mutex m;
    return m;
}

QString &overrideRoot()
{
    static QString root;
    return root;
}

QString base(const char *overrideSub, const char *variable, const QString &fallbackBelowHome)
{
    const QString root = AppFolders::rootOverride();
    if (!root.isEmpty())
        return root + "/" + overrideSub;
    return AppFolders::xdgFolder(variable, fallbackBelowHome);
}

// The program's own folder that `path` is or lies in; empty when it is none of them.
QString ownFolderHolding(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (const QString &folder : AppFolders::ownFolders()) {
        if (PathRules::isSameOrInside(clean, folder))
            return folder;
    }
    return {};
}

// A folder of this user alone; when it is a link, the link is the user's too.
bool isOursAlone(const QByteArray &folder)
{
    struct stat link {
    }, target {};
    return ::lstat(folder.constData(), &link) == 0 && link.st_uid == ::geteuid()
        && ::stat(folder.constData(), &target) == 0 && OwnFolder::isOwn(target);
}

// Each folder from `own` down to `path` is this user's alone, in a folder nobody else may change.
bool isOursFromTop(const QString &own, const QString &path)
{
    struct stat parent {
    };
    if (::stat(QFile::encodeName(QFileInfo(own).absolutePath()).constData(), &parent) != 0
        || !OwnFolder::holdsSafely(parent))
        return false;
    for (QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());;
         folder = QFileInfo(folder).absolutePath()) {
        if (!isOursAlone(QFile::encodeName(folder)))
            return false;
        if (folder == own)
            return true;
    }
}

// Says once per folder, on standard error (the log may be the folder refused), why nothing is
// written there.
void sayNotOurs(const QString &path)
{
    static std::mutex m;
    static QSet<QString> said;
    std::lock_guard<std::mutex> lock(m);
    if (!said.contains(path)) {
        said.insert(path);
        systemLogLine(
            QStringLiteral("Nothing is written in %1: it, or the folder it is in, is not this "
                           "user's alone (another owner, a link of another user, or writable by others)")
                .arg(path));
    }
}

} // namespace

QString AppFolders::supportFolder()
{
    return base("data", "XDG_DATA_HOME", ".local/share") + "/" + kAppFolderName;
}

QString AppFolders::cachesFolder()
{
    return base("cache", "XDG_CACHE_HOME", ".cache") + "/" + kAppFolderName;
}

QString AppFolders::logsFolder()
{
    return base("state", "XDG_STATE_HOME", ".local/state") + "/" + kAppFolderName;
}

QString AppFolders::logFilePath()
{
    return logsFolder() + "/quennarylog.log";
}

QString AppFolders::settingsFolder()
{
    return base("config", "XDG_CONFIG_HOME", ".config") + "/" + kAppFolderName;
}

QString AppFolders::settingsFilePath()
{
    return settingsFolder() + "/settings.plist";
}

QString AppFolders::thumbnailsFolder()
{
    return supportFolder() + "/thumbnails";
}

QStringList AppFolders::ownFolders()
{
    return { supportFolder(), thumbnailsFolder(), settingsFolder(), cachesFolder(), logsFolder() };
}

QString AppFolders::runtimeFolder()
{
    const QString root = rootOverride();
    if (!root.isEmpty())
        return root + "/runtime";
    // The variable names a folder only this user may use; one that is not (or is missing) is
    // passed over for a folder of ours.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && PrivateFiles::isOwnPrivateFolder(runtime))
        return QDir::cleanPath(runtime);
    return cachesFolder();
}

QString AppFolders::installerSettingsFolder()
{
    const QString root = rootOverride();
    if (!root.isEmpty())
        return root + "/share/quennary";
    return resourcesFolder();
}

QString AppFolders::homeFolder()
{
    const QString root = rootOverride();
    if (!root.isEmpty())
        return root + "/home";
    return QDir::homePath();
}

QString AppFolders::resourcesFolderFor(const QString &programFolder)
{
    if (programFolder.isEmpty())
        return QString();
    // Installed: <prefix>/bin/quennary with <prefix>/share/quennary. The build tree has the same
    // shape for tools and tests one folder down (build/tests/..), and the program itself sits at its
    // top beside build/share/quennary.
    const QString candidates[] = { programFolder + QStringLiteral("/../share/quennary"),
        programFolder + QStringLiteral("/share/quennary") };
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate + QLatin1Char('/') + kResourceMarker).isFile())
            return QDir::cleanPath(candidate);
    }
    return QString();
}

QString AppFolders::resourcesFolder()
{
    static const QString folder = [] {
        const QString found = resourcesFolderFor(programFolder());
        if (found.isEmpty())
            systemLogLine(QStringLiteral("No resources folder (share/quennary) beside the program in ")
                + programFolder());
        return found;
    }();
    return folder;
}

QString AppFolders::resourcePath(const QString &relativePath)
{
    const QString folder = resourcesFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + relativePath;
}

void AppFolders::setRootOverride(const QString &root)
{
    std::lock_guard<std::mutex> lock(overrideMutex());
    overrideRoot() = root.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(root).absoluteFilePath());
}

QString AppFolders::rootOverride()
{
    std::lock_guard<std::mutex> lock(overrideMutex());
    return overrideRoot();
}

QString AppFolders::xdgFolder(const char *variable, const QString &fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    // The XDG rules ignore relative paths in these variables.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + "/" + fallbackBelowHome);
}

bool AppFolders::ensureFolder(const QString &path)
{
    if (!PrivateFiles::makeFolder(path))
        return false;
    const QString own = ownFolderHolding(path);
    if (own.isEmpty() || isOursFromTop(own, path))
        return true;
    sayNotOurs(path);
    return false;
}
