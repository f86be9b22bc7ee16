// Moves Drive files to the Drive trash: a files.update that sets only "trashed". The request is
// always sent from the GUI thread; a background caller waits for its answer with a time limit and
// never blocks the GUI thread. When the update may have been applied although no answer said so
// (no answer in time, a broken connection, a server error, or Stop while waiting), the file is
// asked for its "trashed" state before the outcome is reported.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QString>

class DriveService;
class ImageFileInfo;
struct DriveFile;
struct HttpResponse;

class DriveTrash
{
public:
    enum class Answer {
        trashed,
        refused, // the file stays where it was
        forbidden, // refused too: this account may not move the file to the trash
        unknown, // the update may or may not have been applied
    };
    using Completion = std::function<void(Answer answer)>;
    static constexpr int kDefaultTimeoutMs = 90000;

    // GUI thread. No service, no Drive file or no identifier: `done(refused)` at once, nothing sent.
    static void trashGoogleDriveFile(DriveService *service, const ImageFileInfo &record, Completion done);
    static void googleDriveTrashCompletion(
        const DriveFile &file, const HttpResponse &response, const Completion &done);
    // GUI thread. Asks the file's "trashed" state: trashed, refused (not in the trash) or unknown.
    static void askTrashed(DriveService *service, const QString &fileId, Completion done);

    // Any thread but the GUI thread: posts the request there and waits for its answer, at most
    // `timeoutMs` and no longer than `stop` stays clear; an uncertain ending is checked with
    // askTrashed, again within `timeoutMs`. trashed only when the Drive holds the file in its trash.
    static Answer trashGoogleDriveFiles(DriveService *service, const std::shared_ptr<ImageFileInfo> &record,
        int timeoutMs = kDefaultTimeoutMs, const std::atomic<bool> *stop = nullptr);

private:
    static Answer answerOf(const HttpResponse &response);
    // Posts `send` to the GUI thread and waits for its answer; unknown on timeout or stop.
    static Answer waitOnMain(
        const std::function<void(Completion)> &send, int timeoutMs, const std::atomic<bool> *stop);
};
