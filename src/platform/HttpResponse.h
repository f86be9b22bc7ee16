// The outcome of one HttpClient exchange, failures included: callers read values, never catch.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>

struct HttpResponse {
    enum class Failure {
        none,
        network, // refused, reset, closed early, name lookup, TLS
        timeout, // no data within the transfer timeout, or past the deadline
        status, // an answer outside 2xx; `status` and `body` hold it
        signedOut, // 401 after one refresh, or the refresh failed
        refused, // never sent: wrong thread, invalid address, blocked host
        stopped, // the caller's stop flag
        tooLarge, // the body passed the request's limit
        local, // the body could not be written where the request said
        incomplete, // a downloaded copy is not the whole file: short, long, compressed or unlike its digest
    };

    Failure failure = Failure::none;
    int status = 0;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    QString errorText;
    // The protocol marks where the body ends (HTTP/2), so a cut shows as an error even when no
    // length was announced; over HTTP/1 only Content-Length can tell a cut body from a whole one.
    bool framedBody = false;

    bool ok() const { return failure == Failure::none; }
    // Case-insensitive; the first header of that name.
    QByteArray header(const QByteArray &name) const;
    // The body as a JSON object; empty when it is not one.
    QJsonObject json() const;
    // The provider's own words for a failure: "error_summary", "error.message" or "error"/
    // "error_description" of an OAuth answer; empty when the body has none.
    QString providerError() const;
    // One line for the log and alerts: failure, status and the provider's words, a few hundred
    // characters at most.
    QString describe() const;

    static HttpResponse failed(Failure failure, const QString &errorText);
};
