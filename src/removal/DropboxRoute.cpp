#include "removal/DropboxRoute.h"

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "app/ScanWrapper.h"
#include "cloud/DropBoxHandler.h"
#include "model/ImageFileInfo.h"

DropboxRoute::DropboxRoute(std::function<std::shared_ptr<ScanWrapper>()> source)
    : m_source(std::move(source))
{
}

QString DropboxRoute::identity(const ImageFileInfo &record) const
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_handler = std::dynamic_pointer_cast<DropBoxHandler>(m_source ? m_source() : nullptr);
    }
    return record.id.isEmpty() ? record.filePath.toLower() : record.id;
}

std::shared_ptr<DropBoxHandler> DropboxRoute::handler() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handler;
}

RemovalOutcome DropboxRoute::remove(
    const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop)
{
    if (!record)
        return RemovalOutcome::failed(QStringLiteral("no record"));
    if (stop.load())
        return RemovalOutcome::failed(QStringLiteral("stopped"));
    const std::shared_ptr<DropBoxHandler> source = handler();
    if (!source)
        return RemovalOutcome::failed(QStringLiteral("no Dropbox source"));
    const DropboxApi::DeleteOutcome outcome = source->deleteFilesFromDropbox(*record);
    if (outcome == DropboxApi::DeleteOutcome::failed)
        return RemovalOutcome::failed(QStringLiteral("Dropbox did not delete ") + record->filePath);
    // Edited or replaced from another device: what would go is no longer the copy compared.
    if (outcome == DropboxApi::DeleteOutcome::changed)
        return RemovalOutcome::failed(QStringLiteral("changed in Dropbox since the scan"),
            localizedString(QStringLiteral("ID_NOT_REMOVED_CHANGED_IN_DROPBOX")));
    // Either way the listed tree no longer matches the account.
    source->isFileDeletedFromCloudDrive = true;
    // Moved or deleted from another device since the scan: this run removed nothing, and the record
    // keeps its copy for the group it stays in.
    if (outcome == DropboxApi::DeleteOutcome::notFound) {
        const QString why = localizedString(QStringLiteral("ID_CLOUD_FILE_NO_LONGER_THERE"));
        return RemovalOutcome::gone(why, why);
    }
    CommonFunc::removeItemIfExists(record->localThumbPath);
    return RemovalOutcome::removed();
}
