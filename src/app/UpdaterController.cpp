#include "app/UpdaterController.h"

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

QString UpdaterController::packageUpdateNote()
{
    return formatText(localizedString(QStringLiteral("ID_UPDATES_FROM_PACKAGE")), QStringLiteral("Quennary"),
        QStringLiteral(QNY_PACKAGE_NAME));
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
