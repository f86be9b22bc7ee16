#include "platform/AppFolders.h"

#include <mutex>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "platform/DescriptorWalk.h"
#include "platform/Log.h"
#include "platform/OwnFolder.h"
#include "platform/OwnFolderWrites.h"
#include "platform/PathRules.h"
#include "platform/PrivateFiles.h"
#include "platform/SilentOwnFolders.h"

namespace
{

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
    static auto *root = new QString;
    return *root;
}

// Where one kind of folder lies: below the root override, else where the XDG variable says, else
// below the home folder.
struct Base {
    const char *overrideSub;
    const char *variable;
    const char *belowHome;
};
constexpr Base kData { "data", "XDG_DATA_HOME", ".local/share" };
constexpr Base kCache { "cache", "XDG_CACHE_HOME", ".cache" };
constexpr Base kState { "state", "XDG_STATE_HOME", ".local/state" };
constexpr Base kConfig { "config", "XDG_CONFIG_HOME", ".config" };
const char *const kThumbnailsName = "/thumbnails";

QString ownFolder(const Base &base)
{
    const QString root = AppFolders::rootOverride();
    if (!root.isEmpty())
        return root + "/" + base.overrideSub + "/" + kAppFolderName;
    return AppFolders::xdgFolder(base.variable, QString::fromLatin1(base.belowHome)) + "/" + kAppFolderName;
}

// The own folder `own` and each folder below it down to `path`, opened from the folder holding
// `own`, which nobody else may change; each is this user's alone, or a link of this user's to one.
OwnFolder openFromTop(const QString &own, const QString &path)
{
    QString why;
    OwnFolder folder = OwnFolder::openPath(QFileInfo(own).absolutePath(), &why);
    QStringList steps { QFileInfo(own).fileName() };
    const QString below = QDir(own).relativeFilePath(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (below != QLatin1String("."))
        steps += below.split(QLatin1Char('/'));
    for (const QString &step : std::as_const(steps)) {
        if (!folder.isValid())
            break;
        folder = OwnFolder::openOwnedIn(folder.get(), QFile::encodeName(step), &why);
    }
    return folder;
}

// Says once per folder, on standard error (the log may be the folder refused), why nothing is
// written there.
void sayNotOurs(const QString &path)
{
    static std::mutex m;
    static auto &said = *new QSet<QString>;
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
    return ownFolder(kData);
}

QString AppFolders::cachesFolder()
{
    return ownFolder(kCache);
}

QString AppFolders::logsFolder()
{
    return ownFolder(kState);
}

QString AppFolders::logFilePath()
{
    return logsFolder() + "/quennarylog.log";
}

QString AppFolders::settingsFolder()
{
    return ownFolder(kConfig);
}

QString AppFolders::settingsFilePath()
{
    return settingsFolder() + "/settings.plist";
}

QString AppFolders::thumbnailsFolder()
{
    return supportFolder() + kThumbnailsName;
}

QStringList AppFolders::ownFolders()
{
    return { supportFolder(), thumbnailsFolder(), settingsFolder(), cachesFolder(), logsFolder() };
}

QString AppFolders::ownFolderHolding(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (const QString &folder : ownFolders()) {
        if (PathRules::isSameOrInside(clean, folder))
            return folder;
    }
    return {};
}

QStringList AppFolders::defaultOwnFolders(const QString &home)
{
    const auto below = [&home](const Base &base) {
        return QDir::cleanPath(home + "/" + base.belowHome + "/" + kAppFolderName);
    };
    return { below(kData), below(kData) + kThumbnailsName, below(kConfig), below(kCache), below(kState) };
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
    static const QString &folder = *new QString([] {
        const QString found = resourcesFolderFor(programFolder());
        if (found.isEmpty())
            systemLogLine(QStringLiteral("No resources folder (share/quennary) beside the program in ")
                + programFolder());
        return found;
    }());
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
    return ownFolderHolding(path).isEmpty() ? PrivateFiles::makeFolder(path) : openFolder(path).isValid();
}

OwnFolder AppFolders::openFolder(const QString &path)
{
    QString why;
    const QString own = ownFolderHolding(path);
    if (own.isEmpty())
        return OwnFolder::openPath(path, &why);
    if (SilentOwnFolders::holds(path))
        return {};
    // Missing folders are made on the way down, each inside one already checked: made by path first,
    // they would go through a refused link into a folder of the user's.
    OwnFolder folder = openFromTop(own, path);
    if (!folder.isValid())
        sayNotOurs(path);
    return folder;
}

bool AppFolders::removeEntry(const QString &path)
{
    // A ".." would be read on the text and could name a folder above ours.
    if (!PathRules::isNormalisedAbsolute(path) || SilentOwnFolders::holds(path))
        return false;
    // Made by the folder's own queue: the folder may stop answering at any time.
    return OwnFolderWrites::run(path, [path]() {
        const QFileInfo entry(path);
        // Nothing to remove, and no folder made again (after an uninstall, say).
        if (!QFileInfo::exists(entry.absolutePath()))
            return true;
        const OwnFolder folder = openFolder(entry.absolutePath());
        return folder.isValid() && DescriptorWalk::remove(folder.get(), QFile::encodeName(entry.fileName()));
    });
}
