#include "DropboxRunnerSource.h"

#include <cstdio>

#include "app/ScanGlobals.h"
#include "cloud/DropBoxHandler.h"
#include "model/CloudScanFoldersList.h"
#include "platform/CloudConfiguration.h"
#include "platform/StaticTokenSource.h"
#include "scan/ui/CloudFolderSheet.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/MainViewController.h"

namespace DropboxRunnerSource
{

QString programPath(const QString &folder)
{
    QString path = folder;
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return QStringLiteral("Dropbox") + path;
}

std::shared_ptr<DropBoxHandler> prepareDropboxScan(MainViewController &controller, const QStringList &folders)
{
    const QString token = qEnvironmentVariable("QUENNARY_CLOUD_ACCESS_TOKEN");
    if (token.isEmpty()) {
        std::fprintf(stderr, "quennary-scan: QUENNARY_CLOUD_ACCESS_TOKEN is not set\n");
        return nullptr;
    }
    DropBoxHandler::Options options;
    options.bases = DropboxApi::configuredBases();
    options.tokens = std::make_shared<StaticTokenSource>(
        token, QList<QUrl> { options.bases.api, options.bases.content });
    options.transferTimeoutMs = CloudConfiguration::transferTimeoutMs();
    auto handler = std::make_shared<DropBoxHandler>(options);
    controller.cloudMode().setDropboxHandler(handler);
    ScanGlobals::scanType = ScanSource::dropbox;
    // Each folder is added as the folder sheet's Add button adds the one selected.
    for (const QString &folder : folders) {
        auto node = std::make_shared<CloudScanFoldersList>();
        node->folderPath = programPath(folder);
        node->folderName = node->folderPath.section(QLatin1Char('/'), -1);
        controller.lastSelectedCloudPath = node;
        controller.cloudMode().folderSheet().btnAddFolderCloudScanTapped();
    }
    return handler;
}

} // namespace DropboxRunnerSource
