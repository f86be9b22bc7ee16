// Downloads of cloud files into a local folder through Qt Network, with a timeout and a stop flag,
// on the calling thread (scan workers call it; it runs its own short event loop, and is refused on
// the GUI thread).
#pragma once

#include <atomic>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QUrl>

class MediaDownloader
{
public:
    static constexpr int kDefaultTimeoutMs = 60000;

    // A name from a cloud service made safe as one file name: "/" and NUL become "_", the result
    // is cut to 255 UTF-8 bytes; nothing for an empty name, "." or "..".
    static std::optional<QString> sanitizedFileName(const QString &name);
    // `folder`/`name` (sanitised) when that path stays directly inside `folder`.
    static std::optional<QString> targetPath(const QString &folder, const QString &name);

    // The body of `url`; nothing on an error status, `timeoutMs` without data arriving, or a stop
    // request.
    static std::optional<QByteArray> fetch(
        const QUrl &url, const std::atomic<bool> *stop = nullptr, int timeoutMs = kDefaultTimeoutMs);
    // Fetches `url` into `folder`/`name` (the folder is created when missing); returns the written
    // path. A file of an earlier download at that path is removed before the transfer starts, and
    // the content is written atomically, so a failure never leaves a stale or partial file.
    static std::optional<QString> download(const QString &url, const QString &folder, const QString &name,
        const std::atomic<bool> *stop = nullptr, int timeoutMs = kDefaultTimeoutMs);
    // The full-size image behind a Drive thumbnail link (its "=s220" size suffix removed), saved as
    // "<folderId>_<folderName>"; the path when it decodes as an image of non-zero size.
    static std::optional<QString> downloadDriveImage(const QString &thumbnailLink, const QString &folderId,
        const QString &folderName, const QString &folder, const std::atomic<bool> *stop = nullptr,
        int timeoutMs = kDefaultTimeoutMs);
};
