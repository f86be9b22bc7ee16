#include "cloud/DriveSource.h"

#include <QFileInfo>

#include "app/CommonFunc.h"
#include "app/ScanWrapperDelegate.h"
#include "cloud/DriveFileJson.h"
#include "cloud/DriveListing.h"
#include "cloud/DriveService.h"
#include "cloud/GoogleSignIn.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"

DriveSource::DriveSource(DriveService &service, QString &rootDriveFolderId, GoogleSignIn &signIn)
    : m_service(service)
    , m_signIn(signIn)
    , m_listing(std::make_unique<DriveListing>(service, rootDriveFolderId))
{
}

DriveSource::~DriveSource() = default;

void DriveSource::startListing(const CloudListingRequest &request, ScanWrapperDelegate &receiver)
{
    m_receiver = &receiver;
    m_settings = request.settings;
    m_videoExtensions = request.videoExtensions;
    m_stop = false;
    DriveListing::Request query { request.nodes, request.extensions, &m_stop, m_maxPages, m_maxHeldBytes };
    m_listing->fetchFilesFromSelectedFolders(query,
        { [this](const std::shared_ptr<GDFoldersList> &entry) { addGoogleDriveFile(entry); },
            [this](const QString &failure) {
                if (m_receiver)
                    m_receiver->cloudListingFinished(CloudListingEnd { true, failure });
            } });
}

void DriveSource::stopListing()
{
    m_stop = true;
}

void DriveSource::addGoogleDriveFile(const std::shared_ptr<GDFoldersList> &entry)
{
    const std::shared_ptr<DriveFile> file = entry ? entry->driveFile() : nullptr;
    if (!file || DriveFileJson::isFolder(*file) || !m_receiver)
        return;
    const std::shared_ptr<ImageFileInfo> record
        = ImageFileInfo::initWithPathForFileForGoogleDriveFolderList(entry, m_settings);
    if (!record)
        return;
    record->isVideo = m_videoExtensions.contains(QFileInfo(entry->folderName()).suffix(), Qt::CaseInsensitive);
    m_listing->buildDriveFilePath(*record);
    if (m_listing->holdRecord(ListingHoldings::recordBytes(*record)))
        m_receiver->addCloudFile(record);
}

QString DriveSource::fetchLocalCopy(ImageFileInfo &record, const std::atomic<bool> &stop)
{
    const std::shared_ptr<DriveFile> file = record.dFolderList ? record.dFolderList->driveFile() : nullptr;
    QString why = QStringLiteral("no download link");
    if (!file || !file->thumbnailLink)
        return why;
    record.localThumbPath
        = CommonFunc::downloadGoogleDriveThumbnail(*file->thumbnailLink, record.dFolderList->folderId(),
            record.dFolderList->folderName(), qint64(record.fileSize), QUrl(m_service.apiBase()), &stop, &why)
              .value_or(QString());
    return record.localThumbPath.isEmpty() ? why : QString();
}

bool DriveSource::takeRedirect(const QUrl &url)
{
    const std::shared_ptr<OAuthCodeFlow> flow = m_signIn.currentFlow();
    if (!flow || !flow->isWaitingForRedirect())
        return false;
    flow->resumeExternalUserAgentFlowWithURL(url);
    return true;
}
