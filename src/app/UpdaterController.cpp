#include "app/UpdaterController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/LocalizedString.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"

UpdaterController::UpdaterController(bool startingUpdater)
{
    if (startingUpdater)
        startUpdater();
}

void UpdaterController::startUpdater()
{
    m_started = true;
}

QString UpdaterController::packageUpdateNote(const QString &executable, const QString &packageFileLists)
{
    if (!installedByPackage(programPath(executable), packageFileLists))
        return formatText(
            localizedString(QStringLiteral("ID_UPDATES_WITHOUT_PACKAGE")), QStringLiteral("Quennary"));
    return formatText(localizedString(QStringLiteral("ID_UPDATES_FROM_PACKAGE")), QStringLiteral("Quennary"),
        QStringLiteral(QNY_PACKAGE_NAME));
}

QString UpdaterController::programPath(const QString &executable)
{
    return executable.isEmpty() ? QCoreApplication::applicationFilePath() : executable;
}

bool UpdaterController::installedByPackage(const QString &executable, const QString &packageFileLists)
{
    // The package manager keeps one list of installed files per package, named after the package and,
    // for a package of one architecture, that architecture too.
    const QString package = QStringLiteral(QNY_PACKAGE_NAME);
    const QStringList lists
        = QDir(packageFileLists)
              .entryList(
                  { package + QStringLiteral(".list"), package + QStringLiteral(":*.list") }, QDir::Files);
    QStringList names { QFileInfo(executable).absoluteFilePath() };
    const QString canonical = QFileInfo(executable).canonicalFilePath();
    if (!canonical.isEmpty() && !names.contains(canonical))
        names.append(canonical);
    for (const QString &list : lists) {
        QFile file(QDir(packageFileLists).filePath(list));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            if (names.contains(QString::fromUtf8(file.readLine()).trimmed()))
                return true;
        }
    }
    return false;
}

QString UpdaterController::feedUrl()
{
    return QString();
}

bool UpdaterController::check(const QString &kind)
{
    if (!m_started)
        return false;
    // Without a configured feed there is nothing to ask; the check ends quietly.
    if (feedUrl().isEmpty()) {
        Log::line(kind + QStringLiteral(": no update feed configured"));
        return false;
    }
    return true;
}

void UpdaterController::checkForUpdates()
{
    if (m_started)
        ++m_userChecks;
    check(QStringLiteral("Update check"));
}

void UpdaterController::checkForUpdatesInBackground()
{
    if (m_started)
        ++m_backgroundChecks;
    check(QStringLiteral("Background update check"));
}
