#include "cloud/DriveTrash.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <QJsonObject>

#include "cloud/DriveService.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"

namespace
{

// What the waiting caller and the GUI thread's completion share; outlives whichever ends first.
struct Waiter {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    bool trashed = false;
};

} // namespace

void DriveTrash::trashGoogleDriveFile(DriveService *service, const ImageFileInfo &record, Completion done)
{
    const std::shared_ptr<DriveFile> file = record.dFolderList ? record.dFolderList->driveFile() : nullptr;
    const QString fileId = file ? file->identifier.value_or(QString()) : QString();
    if (!service || !file || fileId.isEmpty()) {
        done(false);
        return;
    }
    Log::line(QStringLiteral("Google drive file id to delete =") + fileId);
    const QJsonObject body { { QStringLiteral("trashed"), true } };
    service->updateFile(fileId, body,
        [file, done = std::move(done)](const std::shared_ptr<DriveFile> &, const HttpResponse &response) {
            googleDriveTrashCompletion(*file, response, done);
        });
}

void DriveTrash::googleDriveTrashCompletion(
    const DriveFile &file, const HttpResponse &response, const Completion &done)
{
    if (!response.ok()) {
        stdoutLine(QStringLiteral("Trash Failed ") + response.describe());
        done(false);
        return;
    }
    stdoutLine(QStringLiteral("Trash success:") + file.name.value_or(QString()));
    done(true);
}

bool DriveTrash::trashGoogleDriveFiles(DriveService *service, const std::shared_ptr<ImageFileInfo> &record,
    int timeoutMs, const std::atomic<bool> *stop)
{
    if (!record)
        return false;
    if (Dispatch::isMainThread()) {
        Log::line(QStringLiteral("Drive trash refused on the GUI thread"));
        return false;
    }
    auto waiter = std::make_shared<Waiter>();
    Dispatch::main([service, record, waiter] {
        trashGoogleDriveFile(service, *record, [waiter](bool trashed) {
            std::lock_guard<std::mutex> lock(waiter->mutex);
            waiter->trashed = trashed;
            waiter->done = true;
            waiter->answered.notify_all();
        });
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(waiter->mutex);
    while (!waiter->done) {
        if (stop && stop->load())
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            Log::line(QStringLiteral("Drive trash: no answer in time"));
            return false;
        }
        // Short slices so a Stop is seen while the answer is still out.
        waiter->answered.wait_until(lock, std::min(deadline, now + std::chrono::milliseconds(50)));
    }
    return waiter->trashed;
}
