#include "platform/AppFolders.h"

#include <mutex>

#include <QDir>
#include <QFileInfo>

#include "platform/Log.h"
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
    return PrivateFiles::makeFolder(path);
}
