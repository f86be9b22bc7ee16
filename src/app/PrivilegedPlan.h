// A privileged batch checked and opened before any of it runs. The helper runs with administrator
// rights on paths a user hands it, so it does only the uninstaller's work: every path lies inside
// one of the program's own folders of that user, every folder on the way is reached from the root
// one step at a time and never through a link, and what it removes or renames goes from the folder
// so opened. A folder swapped for a link after the check changes nothing: the descriptor still holds
// the folder that was checked.
#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "app/PrivilegedBatch.h"
#include "platform/Descriptor.h"

class PrivilegedPlan
{
public:
    // The plan of `batch` with `rootFd` standing for "/" (tests hand a temporary tree), or nothing,
    // with `refused` naming the path, when any path is not absolute and normalised, does not lie
    // inside one of `ownFolders`, meets a link or a file on the way to its folder, or (for a
    // rename's new path) names an entry that exists already. A folder missing on the way refuses
    // nothing: there is nothing to remove there, and nothing to rename.
    static std::optional<PrivilegedPlan> check(
        const PrivilegedBatch &batch, const QStringList &ownFolders, int rootFd, QString *refused);

    // Runs the operations in order, going on after a failure: a removal takes the entry and all it
    // holds without following a link or leaving its file system, a rename moves the entry itself and
    // never over another one. True when every one succeeded.
    bool perform() const;

private:
    // An entry by name in its open folder (invalid when the folder is missing).
    struct Place {
        Descriptor folder;
        QByteArray name;
    };
    struct Step {
        Place place;
        std::optional<Place> newPlace;
    };
    static std::optional<Place> placeOf(const QString &path, const QStringList &ownFolders, int rootFd);

    std::vector<Step> m_steps;
};
