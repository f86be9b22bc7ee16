// A Dropbox source on a fake account, and a delegate that records what the walk reports.
#pragma once

#include <memory>
#include <mutex>

#include <QStringList>

#include "app/ScanWrapperDelegate.h"
#include "cloud/DropBoxHandler.h"
#include "model/CloudScanFoldersList.h"
#include "model/ImageFileInfo.h"
#include "platform/StaticTokenSource.h"
#include "support/FakeDropbox.h"
#include "support/FakeHttpServer.h"
#include "support/TestEvents.h"

struct RecordingDelegate : ScanWrapperDelegate {
    void addCloudFile(const std::shared_ptr<ImageFileInfo> &record) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        paths.append(record->filePath);
        records.append(record);
        if (onAdd)
            onAdd();
    }
    void cloudListingFinished(const CloudListingEnd &end) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        failure = end.failure;
        ++finishes;
    }
    QString lastFailure()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return failure;
    }
    int finishCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return finishes;
    }
    QStringList reported()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return paths;
    }

    std::mutex mutex;
    QStringList paths;
    QList<std::shared_ptr<ImageFileInfo>> records;
    int finishes = 0;
    QString failure;
    std::function<void()> onAdd;
};

inline std::shared_ptr<CloudScanFoldersList> dropboxFolder(const QString &programPath)
{
    auto node = std::make_shared<CloudScanFoldersList>();
    node->folderPath = programPath;
    node->folderName = programPath.section(QLatin1Char('/'), -1);
    return node;
}

struct DropboxFixture {
    explicit DropboxFixture(int timeoutMs = 10000, const QString &token = QStringLiteral("token-1"))
        : account(server)
    {
        DropBoxHandler::Options options;
        options.bases = { account.base(), account.base() };
        options.tokens = std::make_shared<StaticTokenSource>(token, QList<QUrl> { account.base() });
        options.transferTimeoutMs = timeoutMs;
        handler = std::make_unique<DropBoxHandler>(options);
        handler->delegate = &delegate;
    }
    // Runs a scan's listing of `folders` to its end.
    bool scan(const QList<std::shared_ptr<CloudScanFoldersList>> &folders,
        const QStringList &extensions = { QStringLiteral("jpg") })
    {
        const int before = delegate.finishCount();
        handler->isCompletListFetch = true;
        handler->isAbortScanning = false;
        handler->startScanning(extensions, folders, recordSettings);
        return TestEvents::waitFor([&] { return delegate.finishCount() > before; }, 20000);
    }
    bool listOne(const std::shared_ptr<CloudScanFoldersList> &folder)
    {
        const int before = delegate.finishCount();
        handler->isCompletListFetch = false;
        handler->collectFilesOfFolder(folder);
        return TestEvents::waitFor([&] { return delegate.finishCount() > before; }, 20000);
    }

    FakeHttpServer server;
    FakeDropbox account;
    RecordingDelegate delegate;
    std::unique_ptr<DropBoxHandler> handler;
    // What the scan makes its records with: Dropbox records, no minimum size.
    RecordSettings recordSettings { 0, 0, ScanSource::dropbox, 4 };
};
