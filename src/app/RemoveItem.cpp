// Privileged removal and rename: each request is one run of the privileged helper through pkexec.
#include "app/RemoveItem.h"

#include <mutex>

#include <QDir>

#include "app/PrivilegedPaths.h"
#include "platform/AppFolders.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"

namespace {

// Requests never overlap, whichever object issues them.
std::mutex &commandMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

RemoveItem::RemoveItem(std::shared_ptr<PrivilegedRunner> runner)
    : m_runner(std::move(runner))
{
    if (!m_runner)
        return;
    m_helper = m_runner->helperPath();
    if (m_helper.isEmpty()) {
        systemLogLine(QStringLiteral("Error: the privileged helper %1 was not found")
                          .arg(PrivilegedRunner::helperName()));
        return;
    }
    m_status = kStatusSuccess;
}

bool RemoveItem::isAcceptablePath(const QString &path)
{
    return PrivilegedPaths::isAcceptable(
        path, PrivilegedPaths::withCanonicalForms({ QDir::homePath(), AppFolders::homeFolder() }));
}

bool RemoveItem::removeSingleItem(const QString &path)
{
    return removeMultipleItems({ path });
}

bool RemoveItem::removeMultipleItems(const QStringList &paths)
{
    PrivilegedBatch batch;
    for (const QString &path : paths)
        batch.addRemoval(path);
    return run(batch);
}

bool RemoveItem::renameItem(const QString &path, const QString &newPath)
{
    PrivilegedBatch batch;
    batch.addRename(path, newPath);
    return run(batch);
}

bool RemoveItem::run(const PrivilegedBatch &batch)
{
    if (m_status == kStatusCanceled || m_helper.isEmpty())
        return false;
    if (batch.isEmpty())
        return true;
    for (const QString &path : batch.paths()) {
        if (!isAcceptablePath(path)) {
            systemLogLine(formatText(QStringLiteral("Refused to remove or move \"%@\""), path));
            return false;
        }
    }
    const QStringList arguments = batch.arguments();
    Dispatch::mainSync([this, &arguments]() { mainthread_run(arguments); });
    return m_status == kStatusSuccess;
}

void RemoveItem::mainthread_run(const QStringList &arguments)
{
    std::lock_guard<std::mutex> lock(commandMutex());
    if (m_status == kStatusCanceled)
        return;
    storeResult(m_runner->run(m_helper, arguments));
    if (m_status != kStatusSuccess)
        systemLogLine(formatText(QStringLiteral("Error: %d (File)"), m_status));
}

void RemoveItem::storeResult(const PrivilegedRunner::Result &result)
{
    switch (result.outcome) {
    case PrivilegedRunner::Outcome::Finished:
        m_status = result.exitCode;
        return;
    case PrivilegedRunner::Outcome::Refused:
        m_status = kStatusCanceled;
        return;
    case PrivilegedRunner::Outcome::NotStarted:
    case PrivilegedRunner::Outcome::Crashed:
        m_status = kStatusToolFailed;
        return;
    }
}
