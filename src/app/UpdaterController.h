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

    // Tells the user how this copy is updated: by installing a newer version of its package when the
    // package manager installed it, by building or installing a newer version otherwise.
    static QString packageUpdateNote(const QString &executable = QString(),
        const QString &packageFileLists = QString::fromLatin1(kPackageFileLists));
    // True when the package manager lists `executable` among the files of the program's package.
    static bool installedByPackage(const QString &executable, const QString &packageFileLists);
    // `executable`, or the running program's own path when it is empty.
    static QString programPath(const QString &executable);

    // Where the package manager keeps its lists of installed files.
    static constexpr const char *kPackageFileLists = "/var/lib/dpkg/info";

    // The feed address ("" when none is configured).
    static QString feedUrl();

private:
    bool check(const QString &kind);

    bool m_started = false;
    int m_userChecks = 0;
    int m_backgroundChecks = 0;
};
