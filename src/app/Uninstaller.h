// What the uninstall removes: the user's own Quennary files (support folder with its thumbnails,
// settings, caches, log). The installed program belongs to the package manager and is never touched.
#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>
#include <QUrl>

#include "app/PrivilegedRunner.h"
#include "app/UpdaterController.h"

class Uninstaller
{
public:
    using Removal = std::function<bool(const QString &path)>;

    // `runner` is used only for what the user's own rights cannot remove; `removeWithOwnRights`
    // is replaceable for tests.
    explicit Uninstaller(std::shared_ptr<PrivilegedRunner> runner = std::make_shared<PrivilegedRunner>(),
        Removal removeWithOwnRights = &Uninstaller::removeWithUserRights);

    // The product's display name, as the uninstall texts show it.
    static QString displayName();
    // The paths removed, in this order; nothing else is ever removed.
    static QStringList userPaths();

    // The stored secrets (sign-in states) removed with the files, from the desktop's secret
    // service as well as from their fallback files.
    void setSecretNames(const QStringList &names) { m_secretNames = names; }

    // Removes the secrets, then every existing path of userPaths() with the user's own rights; what
    // is left after that (a file another user made) is removed with administrator rights after
    // one prompt. True when none of the secrets and none of the paths is left.
    bool removeApplicationSupportFiles();
    // What the last removeApplicationSupportFiles() left: paths, and the stored sign-ins by name.
    const QStringList &leftOver() const { return m_leftOver; }

    // A folder with its content, or a file; a symbolic link is removed, never followed, and a mount
    // inside is left with what it shows (false then).
    static bool removeWithUserRights(const QString &path);
    // What the uninstall removes and what stays, for the question before it: the album file of
    // marked library items when there is one, and the program itself, told as Check for Updates
    // tells how this copy was installed (see UpdaterController).
    static QString confirmationText(const QString &executable = QString(),
        const QString &packageFileLists = QString::fromLatin1(UpdaterController::kPackageFileLists));
    // Tells the user how to remove the program itself: its package, or this copy where it lies.
    static QString packageRemovalNote(const QString &executable = QString(),
        const QString &packageFileLists = QString::fromLatin1(UpdaterController::kPackageFileLists));
    // The after-uninstall page of `address`, or an empty URL when it is not a usable address.
    static QUrl afterUninstallUrl(const QString &address);

private:
    bool removeSecrets();
    void reportLeftOver(const QString &what);

    std::shared_ptr<PrivilegedRunner> m_runner;
    QStringList m_secretNames;
    Removal m_removeWithOwnRights;
    QStringList m_leftOver;
};
