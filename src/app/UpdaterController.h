// The software-update controller. Updates are checked against a feed only when one is configured;
// by default none is, so the checks only record that they were asked for.
#pragma once

#include <QString>

class UpdaterController
{
public:
    // `startingUpdater` false leaves the updater idle until startUpdater() is called.
    explicit UpdaterController(bool startingUpdater);

    void startUpdater();
    bool isStarted() const { return m_started; }

    // The user-initiated check and the quiet background check; both need a started updater.
    void checkForUpdates();
    void checkForUpdatesInBackground();
    int userChecks() const { return m_userChecks; }
    int backgroundChecks() const { return m_backgroundChecks; }

    // Tells the user that the package manager brings the updates.
    static QString packageUpdateNote();

    // The feed address ("" when none is configured).
    static QString feedUrl();

private:
    bool check(const QString &kind);

    bool m_started = false;
    int m_userChecks = 0;
    int m_backgroundChecks = 0;
};
