#include "removal/DriveRoute.h"

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"

DriveRoute::DriveRoute(DriveService *service, int timeoutMs)
    : m_service(service)
    , m_timeoutMs(timeoutMs)
{
}

QString DriveRoute::identity(const ImageFileInfo &record) const
{
    const std::shared_ptr<DriveFile> file = record.dFolderList ? record.dFolderList->driveFile() : nullptr;
    return file ? file->identifier.value_or(QString()) : QString();
}

RemovalOutcome DriveRoute::remove(const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop)
{
    if (!record || identity(*record).isEmpty())
        return RemovalOutcome::failed(QStringLiteral("no Drive file identifier"));
    const DriveTrash::Answer answer
        = DriveTrash::trashGoogleDriveFiles(m_service, record, m_timeoutMs, &stop);
    if (answer == DriveTrash::Answer::trashed) {
        // The downloaded copy belongs to a file that is gone from the scan's sources.
        CommonFunc::removeItemIfExists(record->localThumbPath);
        return RemovalOutcome::removed();
    }
    if (answer == DriveTrash::Answer::forbidden)
        return RemovalOutcome::failed(QStringLiteral("the Drive refused it: no permission"),
            localizedString(QStringLiteral("ID_NOT_REMOVED_NO_DRIVE_PERMISSION")));
    return RemovalOutcome::failed(QStringLiteral("the Drive did not move the file to its trash"));
}
