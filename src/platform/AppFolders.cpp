#include "platform/AppFolders.h"

#include <mutex>

#include <QDir>
#include <QFileInfo>

namespace {

const char *const kAppFolderName = "Quennary";

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

QString AppFolders::homeFolder()
{
    const QString root = rootOverride();
    if (!root.isEmpty())
        return root + "/home";
    return QDir::homePath();
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
    if (path.isEmpty())
        return false;
    QDir dir;
    return dir.mkpath(path) && QFileInfo(path).isDir();
}
