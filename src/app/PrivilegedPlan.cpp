#include "app/PrivilegedPlan.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "platform/DescriptorWalk.h"
#include "platform/PathRules.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace
{

bool isInsideOwn(const QString &path, const QStringList &ownFolders)
{
    for (const QString &own : ownFolders) {
        if (!own.isEmpty() && PathRules::isSameOrInside(path, own))
            return true;
    }
    return false;
}

// Through the system call: the flag is the whole point, and a C library without the wrapper must
// not turn it into a plain rename.
bool renameNoReplace(int fromFolder, const QByteArray &from, int toFolder, const QByteArray &to)
{
    return ::syscall(SYS_renameat2, fromFolder, from.constData(), toFolder, to.constData(), RENAME_NOREPLACE)
        == 0;
}

bool exists(int folder, const QByteArray &name)
{
    struct stat st {
    };
    return folder >= 0 && ::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace

std::optional<PrivilegedPlan::Place> PrivilegedPlan::placeOf(
    const QString &path, const QStringList &ownFolders, int rootFd)
{
    if (!PathRules::isNormalisedAbsolute(path) || !isInsideOwn(path, ownFolders))
        return std::nullopt;
    const QFileInfo entry(path);
    const QByteArray folder = QFile::encodeName(entry.path()).mid(1);
    const QByteArray name = QFile::encodeName(entry.fileName());
    // errno is read right after the walk: only a missing folder is no refusal.
    Descriptor opened = folder.isEmpty() ? Descriptor(::fcntl(rootFd, F_DUPFD_CLOEXEC, 0))
                                         : DescriptorWalk::openFolder(rootFd, folder);
    if (!opened.isValid() && errno != ENOENT)
        return std::nullopt;
    return Place { std::move(opened), name };
}

std::optional<PrivilegedPlan> PrivilegedPlan::check(
    const PrivilegedBatch &batch, const QStringList &ownFolders, int rootFd, QString *refused)
{
    PrivilegedPlan plan;
    for (const PrivilegedBatch::Operation &operation : batch.operations()) {
        std::optional<Place> place = placeOf(operation.path, ownFolders, rootFd);
        if (!place) {
            *refused = operation.path;
            return std::nullopt;
        }
        std::optional<Place> newPlace;
        if (operation.newPath) {
            newPlace = placeOf(*operation.newPath, ownFolders, rootFd);
            if (!newPlace || exists(newPlace->folder.get(), newPlace->name)) {
                *refused = *operation.newPath;
                return std::nullopt;
            }
        }
        plan.m_steps.push_back({ std::move(*place), std::move(newPlace) });
    }
    return plan;
}

bool PrivilegedPlan::perform() const
{
    bool allDone = true;
    for (const Step &step : m_steps) {
        const Place &from = step.place;
        bool done = false;
        if (!step.newPlace)
            done = !from.folder.isValid() || DescriptorWalk::remove(from.folder.get(), from.name);
        else
            done = from.folder.isValid() && step.newPlace->folder.isValid()
                && renameNoReplace(
                    from.folder.get(), from.name, step.newPlace->folder.get(), step.newPlace->name);
        allDone = allDone && done;
    }
    return allDone;
}
