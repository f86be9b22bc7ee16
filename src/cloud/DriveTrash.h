// Moves Drive files to the Drive trash: a files.update that sets only "trashed". The request is
// always sent from the GUI thread; a background caller waits for its answer with a time limit and
// never blocks the GUI thread.
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
    using Completion = std::function<void(bool trashed)>;
    static constexpr int kDefaultTimeoutMs = 90000;

    // GUI thread. No service, no Drive file or no identifier: `done(false)` at once, nothing sent.
    static void trashGoogleDriveFile(DriveService *service, const ImageFileInfo &record, Completion done);
    static void googleDriveTrashCompletion(
        const DriveFile &file, const HttpResponse &response, const Completion &done);

    // Any thread but the GUI thread: posts the request there and waits for its answer, at most
    // `timeoutMs` and no longer than `stop` stays clear. False on refusal, failure or no answer.
    static bool trashGoogleDriveFiles(DriveService *service, const std::shared_ptr<ImageFileInfo> &record,
        int timeoutMs = kDefaultTimeoutMs, const std::atomic<bool> *stop = nullptr);
};
