// One request for HttpClient: what to send, and what may cut it short.
#pragma once

#include <atomic>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

class QIODevice;

struct HttpRequest {
    static constexpr int kDefaultDeadlineMs = 5 * 60 * 1000;
    // Answers held in memory (JSON pages, tokens, small files) are never larger than this.
    static constexpr qint64 kDefaultMaxBodyBytes = 64LL * 1024 * 1024;
    // A file without a listed size (a parameters file, an echo page) is small text.
    static constexpr qint64 kUnlistedFileMaxBytes = 512LL * 1024;
    // The slowest transfer a download's deadline allows for beyond its floor.
    static constexpr qint64 kSlowestBytesPerSecond = 32LL * 1024;

    QByteArray method = "GET";
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Sent only when not empty; an empty value never becomes Qt's default form type.
    QByteArray contentType;
    // Adds the client's bearer token (only ever to the token source's API hosts).
    bool authorize = true;
    // The whole exchange, retries and pauses included; 0 leaves only the per-transfer timeout
    // (large downloads that keep receiving data).
    int deadlineMs = kDefaultDeadlineMs;
    // Polled while the exchange runs; a set flag ends it at once.
    const std::atomic<bool> *stop = nullptr;
    // A body (or an announced Content-Length) beyond this fails the exchange as soon as it shows.
    qint64 maxBodyBytes = kDefaultMaxBodyBytes;
    // When set, the body of a 2xx answer is written here as it arrives instead of into
    // HttpResponse::body (other answers stay in memory). Written on the exchange's thread.
    QIODevice *sink = nullptr;
    // Set for a link a provider's answer handed over: it and its redirects may use plain http only
    // to these configured bases (see LoopbackGuard::isAllowedListedLink).
    std::optional<QList<QUrl>> listedLinkBases;

    // Bounds a download by the size its listing gave (0: none given): the body may pass it only by
    // a small margin (a fixed cap without one), and the whole exchange ends `floorMs` plus the time
    // the listed size takes at the slowest accepted rate after it starts.
    void limitToListedSize(qint64 listedBytes, int floorMs);
    static qint64 maxBodyForListedSize(qint64 listedBytes);
    static int deadlineForListedSize(qint64 listedBytes, int floorMs);

    static HttpRequest get(const QUrl &url);
    // A JSON body with its content type.
    static HttpRequest postJson(const QUrl &url, const QByteArray &json);
};
