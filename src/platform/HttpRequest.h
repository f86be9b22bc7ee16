// One request for HttpClient: what to send, and what may cut it short.
#pragma once

#include <atomic>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

struct HttpRequest {
    static constexpr int kDefaultDeadlineMs = 5 * 60 * 1000;

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

    static HttpRequest get(const QUrl &url);
    // A JSON body with its content type.
    static HttpRequest postJson(const QUrl &url, const QByteArray &json);
};
