// Removes and renames items with administrator rights: every request runs as one batch through the
// privileged helper, so the user is asked for the rights once per request.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>

#include "app/PrivilegedBatch.h"
#include "app/PrivilegedRunner.h"

class RemoveItem
{
public:
    static constexpr int kStatusSuccess = 0;
    // The password dialog was dismissed or the rights were refused: every later request is skipped.
    static constexpr int kStatusCanceled = -60006;
    // The helper could not be found or started, or it crashed.
    static constexpr int kStatusToolFailed = -60031;
    // A positive status is the non-zero exit code of the helper.

    // Asks for nothing yet: the password dialog comes with the first request.
    explicit RemoveItem(std::shared_ptr<PrivilegedRunner> runner = std::make_shared<PrivilegedRunner>());

    // False once the rights were refused, or when the helper is missing.
    bool authenticated() const { return m_status == kStatusSuccess; }
    // The state at creation or the result of the last request that ran.
    int status() const { return m_status; }

    // Removes `path` recursively; true only when the removal ran and succeeded. A path that is not
    // absolute and normalised, or that is "/", a system root, the home folder or one of its parents
    // is refused without running anything.
    bool removeSingleItem(const QString &path);
    // Removes every path in one request (one password dialog); when any path is refused nothing
    // runs. True when all were removed, and for none.
    bool removeMultipleItems(const QStringList &paths);
    // Moves `path` to `newPath` (both checked like a removal); true only when the move succeeded.
    bool renameItem(const QString &path, const QString &newPath);

    // Whether a privileged command may touch `path` at all.
    static bool isAcceptablePath(const QString &path);

private:
    // Every operation of `batch` in one request, in order (nothing runs when a path is refused);
    // true when all succeeded.
    bool run(const PrivilegedBatch &batch);
    // Runs the helper on the main thread and waits for it (so a thread the main thread waits for
    // must not call here), one request at a time in the whole process.
    void mainthread_run(const QStringList &arguments);
    void storeResult(const PrivilegedRunner::Result &result);

    std::shared_ptr<PrivilegedRunner> m_runner;
    QString m_helper;
    int m_status = kStatusToolFailed;
};
