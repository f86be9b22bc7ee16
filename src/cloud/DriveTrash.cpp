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
#include "platform/RetryPolicy.h"

namespace
{

// What the waiting caller and the GUI thread's completion share; outlives whichever ends first.
struct Waiter {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    DriveTrash::Answer answer = DriveTrash::Answer::unknown;
};

QString fileIdOf(const ImageFileInfo &record)
{
    const std::shared_ptr<DriveFile> file = record.dFolderList ? record.dFolderList->driveFile() : nullptr;
    return file ? file->identifier.value_or(QString()) : QString();
}

} // namespace

void DriveTrash::trashGoogleDriveFile(DriveService *service, const ImageFileInfo &record, Completion done)
{
    const std::shared_ptr<DriveFile> file = record.dFolderList ? record.dFolderList->driveFile() : nullptr;
    const QString fileId = fileIdOf(record);
    if (!service || fileId.isEmpty()) {
        done(Answer::refused);
        return;
    }
    Log::line(QStringLiteral("Drive trash of ") + fileId + QStringLiteral(" requested"));
    const QJsonObject body { { QStringLiteral("trashed"), true } };
    service->updateFile(fileId, body,
        [file, done = std::move(done)](const std::shared_ptr<DriveFile> &, const HttpResponse &response) {
            googleDriveTrashCompletion(*file, response, done);
        });
}

DriveTrash::Answer DriveTrash::answerOf(const HttpResponse &response)
{
    using Failure = HttpResponse::Failure;
    if (response.ok())
        return Answer::trashed;
    const bool mayHaveApplied = response.failure == Failure::network || response.failure == Failure::timeout
        || (response.failure == Failure::status && response.status >= 500);
    if (mayHaveApplied)
        return Answer::unknown;
    // A 403 that is no rate limit: the account lacks the right (only a file's owner trashes it).
    const bool forbidden = response.failure == Failure::status && response.status == 403
        && !RetryPolicy::isRetryable(response);
    return forbidden ? Answer::forbidden : Answer::refused;
}

void DriveTrash::googleDriveTrashCompletion(
    const DriveFile &file, const HttpResponse &response, const Completion &done)
{
    const Answer answer = answerOf(response);
    if (answer != Answer::trashed)
        Log::line(QStringLiteral("Trash Failed ") + response.describe());
    else
        Log::line(QStringLiteral("Drive file moved to its trash: ") + file.name.value_or(QString()));
    done(answer);
}

void DriveTrash::askTrashed(DriveService *service, const QString &fileId, Completion done)
{
    if (!service || fileId.isEmpty()) {
        done(Answer::unknown);
        return;
    }
    service->getFile(fileId, QStringLiteral("id,trashed"),
        [done = std::move(done)](const std::shared_ptr<DriveFile> &, const HttpResponse &response) {
            if (!response.ok()) {
                done(Answer::unknown);
                return;
            }
            const bool trashed = response.json().value(QStringLiteral("trashed")).toBool(false);
            done(trashed ? Answer::trashed : Answer::refused);
        });
}

DriveTrash::Answer DriveTrash::waitOnMain(
    const std::function<void(Completion)> &send, int timeoutMs, const std::atomic<bool> *stop)
{
    auto waiter = std::make_shared<Waiter>();
    Dispatch::main([send, waiter] {
        send([waiter](Answer answer) {
            std::lock_guard<std::mutex> lock(waiter->mutex);
            waiter->answer = answer;
            waiter->done = true;
            waiter->answered.notify_all();
        });
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(waiter->mutex);
    while (!waiter->done) {
        if (stop && stop->load())
            return Answer::unknown;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            Log::line(QStringLiteral("Drive trash: no answer in time"));
            return Answer::unknown;
        }
        // Short slices so a Stop is seen while the answer is still out.
        waiter->answered.wait_until(lock, std::min(deadline, now + std::chrono::milliseconds(50)));
    }
    return waiter->answer;
}

DriveTrash::Answer DriveTrash::trashGoogleDriveFiles(DriveService *service,
    const std::shared_ptr<ImageFileInfo> &record, int timeoutMs, const std::atomic<bool> *stop)
{
    if (!record)
        return Answer::refused;
    if (Dispatch::isMainThread()) {
        Log::line(QStringLiteral("Drive trash refused on the GUI thread"));
        return Answer::refused;
    }
    const Answer answer = waitOnMain(
        [service, record](Completion done) { trashGoogleDriveFile(service, *record, std::move(done)); },
        timeoutMs, stop);
    if (answer != Answer::unknown)
        return answer;
    // The update may have been applied: the file's own state decides. Stop no longer cuts this
    // short; the wait is bounded by the timeout alone.
    const QString fileId = fileIdOf(*record);
    const Answer checked = waitOnMain(
        [service, fileId](Completion done) { askTrashed(service, fileId, std::move(done)); }, timeoutMs, nullptr);
    Log::line(QStringLiteral("Drive trash of ") + fileId + QStringLiteral(" checked: ")
        + (checked == Answer::trashed ? QStringLiteral("in the trash") : QStringLiteral("not in the trash")));
    return checked == Answer::trashed ? Answer::trashed : Answer::refused;
}
