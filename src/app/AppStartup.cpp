#include "app/AppStartup.h"

#include <cstdio>
#include <utility>

#include <QDateTime>
#include <QFileInfo>

#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PathLook.h"
#include "platform/PrivateFiles.h"
#include "platform/TextFormat.h"
#include "platform/Trash.h"
#include "platform/UserDefaults.h"

namespace
{

const QString kProductName = QStringLiteral("Quennary");
const QString kSupportPage = QStringLiteral("https://www.quennary.app/support/");

} // namespace

QString AppStartup::bannerText()
{
    return QStringLiteral("\n\n") + QString(42, QLatin1Char('='));
}

void AppStartup::writeStartBanner()
{
    // Line by line: the log makes each piece one line.
    for (const QString &line : bannerText().split(QLatin1Char('\n')))
        Log::line(line);
    // Whoever started the program from a terminal sees which program answered.
    std::fputs(qPrintable(kProductName + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
    Log::line(
        kProductName + QStringLiteral(" start ") + QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
}

void AppStartup::narrowPrivateFolders()
{
    for (const QString &folder : AppFolders::ownFolders())
        PrivateFiles::narrow(folder, true);
    const QString trash = Trash::homeTrashFolder();
    // The home Trash may lie on a share of its own, which may not answer: the window never waits for it.
    PathLook::current().look<bool>(
        trash,
        [trash]() {
            for (const QString &folder :
                { trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info") })
                PrivateFiles::narrow(folder, false);
            return true;
        },
        nullptr);
}

bool AppStartup::applyImageTypeMigration(UserDefaults &defaults)
{
    const QVariant marker = defaults.objectForKey(QStringLiteral("rawFilesExtensionAdded"));
    // Only a stored Boolean true counts: a text such as "YES" left by hand is treated as unset.
    if (marker.typeId() == QMetaType::Bool && marker.toBool())
        return false;
    defaults.setObject(QStringLiteral("rawFilesExtensionAdded"), true);
    defaults.setObject(QStringLiteral("allowedExtensions"), SettingsDefaults::defaultImageTypes());
    return true;
}

bool AppStartup::removeOldCacheDatabase(const QString &cacheFolder)
{
    if (cacheFolder.isEmpty() || !QFileInfo::exists(cacheFolder))
        return false;
    const QString oldDatabase = cacheFolder + QStringLiteral("/Qny.db");
    if (!QFileInfo::exists(oldDatabase))
        return false;
    // From the checked data folder only: a refused one may lead into a folder of the user's.
    if (!AppFolders::removeEntry(oldDatabase)) {
        Log::line(QStringLiteral("The cache of an earlier version could not be removed"));
        return false;
    }
    return true;
}

bool AppStartup::takeFirstLaunchDone(UserDefaults &defaults)
{
    const bool done = defaults.boolForKey(QStringLiteral("isFirstLaunchDone"));
    defaults.setObject(QStringLiteral("isFirstLaunchDone"), true);
    return done;
}

MenuTitles AppStartup::menuTitles(const QString &appName)
{
    MenuTitles titles;
    titles.about = formatText(localizedString(QStringLiteral("ID_ABOUT")), appName);
    titles.preferences = formatText(localizedString(QStringLiteral("ID_PREFERENCES")), appName);
    titles.checkForUpdate = localizedString(QStringLiteral("ID_CHECK_FOR_UPDATE"));
    titles.quit = formatText(localizedString(QStringLiteral("ID_QUIT")), appName);
    titles.help = appName + QLatin1Char(' ') + localizedString(QStringLiteral("ID_HELP"));
    titles.helpHeader = localizedString(QStringLiteral("ID_HELP"));
    titles.unInstall = formatText(localizedString(QStringLiteral("ID_UNINSTALL")), appName);
    return titles;
}

std::optional<RefusedFoldersNote> AppStartup::refusedFoldersNote(
    const std::vector<OwnFoldersCheck::Refusal> &refused)
{
    if (refused.empty())
        return std::nullopt;
    using Use = OwnFoldersCheck::Use;
    const std::pair<Use, const char *> keys[]
        = { { Use::Settings, "ID_FOLDER_REFUSED_SETTINGS" }, { Use::Support, "ID_FOLDER_REFUSED_SUPPORT" },
              { Use::Caches, "ID_FOLDER_REFUSED_CACHES" }, { Use::Log, "ID_FOLDER_REFUSED_LOG" },
              { Use::Trash, "ID_FOLDER_REFUSED_TRASH" }, { Use::ScanCache, "ID_FOLDER_REFUSED_SCAN_CACHE" } };
    QStringList lines;
    for (const OwnFoldersCheck::Refusal &refusal : refused) {
        for (const auto &[use, key] : keys) {
            if (use == refusal.use)
                lines.append(formatText(localizedString(QString::fromLatin1(key)), refusal.path));
        }
    }
    RefusedFoldersNote note;
    note.message = formatText(localizedString(QStringLiteral("ID_FOLDERS_NOT_YOURS_ALONE")), kProductName);
    note.details = localizedString(QStringLiteral("ID_FOLDERS_NOT_YOURS_ALONE_WHY")) + QStringLiteral("\n\n")
        + lines.join(QStringLiteral("\n")) + QStringLiteral("\n\n")
        + formatText(localizedString(QStringLiteral("ID_FOLDERS_NOT_YOURS_ALONE_HINT")), kProductName);
    return note;
}

QUrl AppStartup::supportPageUrl(const QString &languageCode)
{
    return QUrl(kSupportPage + QStringLiteral("?langcode=") + languageCode, QUrl::StrictMode);
}

std::optional<QUrl> AppStartup::redirectUrl(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}
