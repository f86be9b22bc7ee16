// Downloads of cloud files into a local folder, streamed to disk as they arrive, bounded in size
// and time by what the listing announced, with a stop flag; on the calling thread (scan workers
// call it; it runs its own short event loop, and is refused on the GUI thread).
#pragma once

#include <atomic>
#include <optional>

#include <QString>

#include "platform/HttpRequest.h"
#include "platform/HttpResponse.h"

class HttpClient;

class MediaDownloader
{
public:
    static constexpr int kDefaultTimeoutMs = 60000;

    // A name from a cloud service made safe as one file name: "/" and NUL become "_", the result
    // is cut to 255 UTF-8 bytes; nothing for an empty name, "." or "..".
    static std::optional<QString> sanitizedFileName(const QString &name);
    // `folder`/`name` (sanitised) when that path stays directly inside `folder`.
    static std::optional<QString> targetPath(const QString &folder, const QString &name);

    // Runs `request` through `client` (blocking) and streams the body into `path`, which is
    // written atomically: a failure leaves no file there, not even one of an earlier download.
    // The answer keeps no body; ok() means the file is complete.
    static HttpResponse saveTo(HttpClient &client, HttpRequest request, const QString &path);
    // Fetches `url` (https, or http on this machine) into `folder`/`name`, the folder created when
    // missing; returns the written path. The body is bounded by `listedBytes` (0: unknown, a small
    // cap) and the transfer by a deadline that grows with it; `timeoutMs` is both the silence
    // allowed and the deadline's floor.
    static std::optional<QString> download(const QString &url, const QString &folder, const QString &name,
        qint64 listedBytes, const std::atomic<bool> *stop = nullptr, int timeoutMs = kDefaultTimeoutMs);
    // The full-size image behind a Drive thumbnail link (its "=s220" size suffix removed), saved as
    // "<folderId>_<folderName>"; the path when it decodes as an image of non-zero size.
    static std::optional<QString> downloadDriveImage(const QString &thumbnailLink, const QString &folderId,
        const QString &folderName, const QString &folder, qint64 listedBytes,
        const std::atomic<bool> *stop = nullptr, int timeoutMs = kDefaultTimeoutMs);
};
