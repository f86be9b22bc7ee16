#include "DriveRunnerSource.h"

#include <QEventLoop>
#include <QUrl>

#include "cloud/DriveFileJson.h"
#include "cloud/DriveService.h"
#include "model/GDFoldersList.h"
#include "platform/HttpResponse.h"
#include "platform/StaticTokenSource.h"

namespace
{

const QString kMyDrive = QStringLiteral("My Drive");
const QString kRootId = QStringLiteral("root");

std::shared_ptr<DriveFile> getFolder(DriveService &service, const QString &id, QString *error)
{
    std::shared_ptr<DriveFile> file;
    HttpResponse answer;
    QEventLoop loop;
    service.getFile(id, QStringLiteral("id,name,mimeType,parents"),
        [&](const std::shared_ptr<DriveFile> &got, const HttpResponse &response) {
            file = got;
            answer = response;
            loop.quit();
        });
    loop.exec();
    if (!file) {
        *error = QStringLiteral("cannot read Drive folder ") + id + QStringLiteral(": ") + answer.describe();
        return nullptr;
    }
    if (!DriveFileJson::isFolder(*file)) {
        *error = QStringLiteral("not a Drive folder: ") + id;
        return nullptr;
    }
    return file;
}

} // namespace

void DriveRunnerSource::signIn(DriveService &service)
{
    const QString token = QString::fromUtf8(qgetenv("QUENNARY_CLOUD_ACCESS_TOKEN"));
    service.setAuthorizer(
        std::make_shared<StaticTokenSource>(token, QList<QUrl> { QUrl(service.apiBase()) }));
}

std::optional<std::vector<FilePathNode>> DriveRunnerSource::scanList(
    DriveService &service, const QStringList &folderIds, QString &rootDriveFolderId, QString *error)
{
    // The folder window has always listed "My Drive" before a folder is chosen, so the listing
    // knows the root and paths read "My Drive/..." even for folders chosen deep down.
    QString ignored;
    if (const std::shared_ptr<DriveFile> root = getFolder(service, kRootId, &ignored))
        rootDriveFolderId = root->identifier.value_or(QString());
    std::vector<FilePathNode> nodes;
    for (const QString &id : folderIds) {
        const std::shared_ptr<DriveFile> file = getFolder(service, id, error);
        if (!file)
            return std::nullopt;
        auto folder = std::make_shared<GDFoldersList>();
        folder->setDriveFile(file);
        if (id == kRootId) {
            folder->setFolderName(kMyDrive);
            folder->setFolderId(kRootId);
            folder->setFolderAbsPath(kMyDrive);
        } else {
            folder->setFolderName(file->name.value_or(QString()));
            folder->setFolderId(file->identifier.value_or(id));
            folder->setFolderAbsPath(folder->folderName());
        }
        FilePathNode node;
        node.filePath = folder->folderAbsPath();
        node.state = 1;
        node.nodeType = GlobalObjects::NodeType::nodeTypeGoogleDrive;
        node.dFolderList = folder;
        nodes.push_back(node);
    }
    return nodes;
}
