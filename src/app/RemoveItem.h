// Removes and renames items with administrator rights, after asking the user for them once.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "app/PrivilegedRunner.h"

class RemoveItem
{
public:
    static constexpr int kStatusSuccess = 0;
    // The password dialog was dismissed or the rights were refused: every later command is skipped.
    static constexpr int kStatusCanceled = -60006;
    // The privileged tool could not be started, or it crashed.
    static constexpr int kStatusToolFailed = -60031;
    // A positive status is the non-zero exit code of the command.

    // Asks for administrator rights now (the one prompt of this object's life).
    explicit RemoveItem(std::shared_ptr<PrivilegedRunner> runner = std::make_shared<PrivilegedRunner>());

    bool authenticated() const { return m_status == kStatusSuccess; }
    // The result of the authorisation or of the last command that ran.
    int status() const { return m_status; }

    // Removes `path` recursively; true only when the removal ran and succeeded. A path that is not
    // absolute and normalised, or that is "/", a system root, the home folder or one of its parents
    // is refused without running anything.
    bool removeSingleItem(const QString &path);
    // removeSingleItem() for each path in order, stopping at the first failure; true for none.
    bool removeMultipleItems(const QStringList &paths);
    // Moves `path` to `newPath` (both checked like a removal); true only when the move succeeded.
    bool renameItem(const QString &path, const QString &newPath);

    // Whether a privileged command may touch `path` at all.
    static bool isAcceptablePath(const QString &path);

private:
    // Hands the request to the main thread and waits for it (so a thread the main thread waits
    // for must not call here); true when the command succeeded.
    bool perform(const QVariantMap &record);
    // Runs one request ({"operation": "remove" | "rename", "itemPath", "newPath"}), one command at
    // a time in the whole process.
    void mainthread_RemoveOrRenameItem(const QVariantMap &record);
    void storeResult(const PrivilegedRunner::Result &result);

    std::shared_ptr<PrivilegedRunner> m_runner;
    int m_status = kStatusToolFailed;
};
