// Downloads of cloud files into a local folder, streamed to disk as they arrive, bounded in size
// and time by what the listing announced, with a stop flag; on the calling thread (scan workers
// call it; it runs its own short event loop, and is refused on the GUI thread).
#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include <QList>
#include <QString>
#include <QUrl>

#include "platform/HttpRequest.h"
#include "platform/HttpResponse.h"

class ContentDigest;
class HttpClient;

// What a downloaded copy must be to count as whole, besides an answer that ended without error,
// in the file's own bytes (not compressed) and as long as the answer announced. Without an exact
// listed size the answer must announce its length (or frame its end, as HTTP/2 does).
struct WholeCopy {
    // The size the listing gives, where the provider's is exact (Dropbox); below 0 none.
    qint64 exactBytes = -1;
    // The listing's digest of the content (empty: none given), and what sums the copy's.
    QString digest;
    std::shared_ptr<ContentDigest> summer;
};

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
    // written atomically: a failure, or a copy that is not `whole`, leaves no file there, not even
    // one of an earlier download. The answer keeps no body; ok() means the file is complete. The
    // folder is made when missing; one of the program's that is not this user's alone (see
    // AppFolders::ensureFolder) takes nothing, and nothing is asked for.
    static HttpResponse saveTo(
        HttpClient &client, HttpRequest request, const QString &path, const WholeCopy &whole = WholeCopy());
    // Fetches `url`, a link from a listing (https, or plain http only to one of `configuredBases`,
    // see LoopbackGuard::isAllowedListedLink), into `folder`/`name`, the folder created when
    // missing; returns the written path. The body is bounded by `listedBytes` (0: unknown, a small
    // cap) and the transfer by a deadline that grows with it; `timeoutMs` is both the silence
    // allowed and the deadline's floor. Without a copy, `why` (when given) says why in one line.
    static std::optional<QString> download(const QString &url, const QList<QUrl> &configuredBases,
        const QString &folder, const QString &name, qint64 listedBytes,
        const std::atomic<bool> *stop = nullptr, int timeoutMs = kDefaultTimeoutMs, QString *why = nullptr);
    // The full-size image behind a Drive thumbnail link (its "=s220" size suffix removed), saved as
    // "<folderId>_<folderName>"; the path when it decodes as an image of non-zero size (a copy that
    // does not is removed).
    static std::optional<QString> downloadDriveImage(const QString &thumbnailLink,
        const QList<QUrl> &configuredBases, const QString &folderId, const QString &folderName,
        const QString &folder, qint64 listedBytes, const std::atomic<bool> *stop = nullptr,
        int timeoutMs = kDefaultTimeoutMs, QString *why = nullptr);
};
