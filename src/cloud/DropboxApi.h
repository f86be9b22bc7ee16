// The Dropbox HTTP API as far as the scan source uses it: folder listing with its continuation,
// downloads and deletion by revision. Listing runs on a worker thread of its own (the completions
// run there, one call at a time); downloads and deletions block their calling thread and are
// refused on the GUI thread and on the listing's worker. Every call is sent again by the retry
// policy after a rate limit (its Retry-After obeyed) or a passing server error.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUrl>

#include "platform/HttpRequest.h"
#include "platform/HttpResponse.h"
#include "platform/RetryPolicy.h"

class HttpClient;
class QObject;
class TokenSource;

struct DropboxEntry {
    enum class Kind { file, folder, deleted, other };
    Kind kind = Kind::other;
    QString id;
    QString name;
    QString pathLower;
    // May be absent (then empty).
    QString pathDisplay;
    QString rev;
    quint64 size = 0;
    QDateTime clientModified;
    QDateTime serverModified;
    QString contentHash;
};

struct DropboxListPage {
    QList<DropboxEntry> entries;
    QString cursor;
    bool hasMore = false;
};

class DropboxApi
{
public:
    struct Bases {
        QUrl api;
        QUrl content;
    };
    // changed: the file's revision is no longer the one listed (edited or replaced since).
    enum class DeleteOutcome { deleted, notFound, changed, failed };
    // A page, or nothing and the failure in one line.
    using PageCompletion = std::function<void(const std::optional<DropboxListPage> &, const QString &error)>;

    // From the application's configuration.
    static Bases configuredBases();

    DropboxApi(Bases bases, std::shared_ptr<TokenSource> tokens, int transferTimeoutMs, RetryPolicy retry = {});
    ~DropboxApi();
    DropboxApi(const DropboxApi &) = delete;
    DropboxApi &operator=(const DropboxApi &) = delete;

    // Asynchronous; the completion runs on the worker thread.
    void listFolder(const QString &path, PageCompletion completion);
    void listFolderContinue(const QString &cursor, PageCompletion completion);
    // Blocking. Streams the file at `path` into `target` (see MediaDownloader::saveTo); the copy
    // counts only when it is exactly `listedBytes` long and, when the listing gave one, has its
    // `contentHash`.
    HttpResponse download(const QString &path, const QString &target, qint64 listedBytes,
        const QString &contentHash, const std::atomic<bool> *stop = nullptr);
    // Blocking. Deletes the file at `path` only while its revision is still `rev`; read the answer
    // with deleteOutcome().
    HttpResponse deleteFile(const QString &path, const QString &rev);

    // The listing's worker thread: post walk steps there.
    QObject *workerContext() const;
    bool isWorkerThread() const;

    // `base` (which may carry a path of its own) followed by `route`.
    static QUrl endpoint(const QUrl &base, const char *route);
    static HttpRequest listFolderRequest(const QUrl &api, const QString &path);
    static HttpRequest listFolderContinueRequest(const QUrl &api, const QString &cursor);
    static HttpRequest downloadRequest(const QUrl &content, const QString &path);
    static HttpRequest deleteRequest(const QUrl &api, const QString &path, const QString &rev);
    // Compact JSON with every character from 0x7F up escaped as \uXXXX (surrogate pairs beyond
    // the basic plane), as an HTTP header value must be ASCII.
    static QByteArray headerSafeJson(const QJsonObject &object);
    static std::optional<DropboxListPage> parseListPage(const QByteArray &body);
    static DropboxEntry parseEntry(const QJsonObject &object);
    static DeleteOutcome deleteOutcome(const HttpResponse &response);

private:
    void sendPage(HttpRequest request, PageCompletion completion);

    Bases m_bases;
    int m_transferTimeoutMs;
    std::unique_ptr<HttpClient> m_worker;
    std::unique_ptr<HttpClient> m_blocking;
};
