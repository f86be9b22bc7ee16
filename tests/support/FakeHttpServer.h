// A scripted HTTP/1.1 server on 127.0.0.1 in a thread of its own, for network tests: answers by
// method and path (status, headers, body, a delay, closing early, never answering), every request
// recorded and counted. Each answer closes its connection.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QUrl>
#include <QUrlQuery>

class QThread;
class FakeHttpServerWorker;

struct FakeResponse {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Answers after this long (a timer on the server's thread, never a sleep).
    int delayMs = 0;
    // Sends the headers and half the body, then closes.
    bool closeEarly = false;
    // Keeps the connection open and silent.
    bool neverAnswer = false;
    // Sends the body one byte at a time, this many ms apart.
    int trickleMs = 0;
    // No Content-Length: the body runs until the connection closes.
    bool omitLength = false;
    // Sent as one chunk of Transfer-Encoding: chunked, without a Content-Length.
    bool chunked = false;
    // Announced as the Content-Length instead of the body's own size.
    qint64 announcedLength = -1;

    static FakeResponse typed(int status, const QByteArray &type, const QByteArray &body);
    static FakeResponse json(int status, const QByteArray &body);
    static FakeResponse text(int status, const QByteArray &body);
    static FakeResponse silence();
};

struct RecordedRequest {
    QByteArray method;
    QString path;
    QUrlQuery query;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    QByteArray header(const QByteArray &name) const;
    // The body read as an HTML form ("+" a blank, percent-decoded once).
    QMap<QString, QString> form() const;
    QString queryValue(const QString &key) const;
};

class FakeHttpServer
{
public:
    using Handler = std::function<FakeResponse(const RecordedRequest &)>;

    FakeHttpServer();
    ~FakeHttpServer();
    FakeHttpServer(const FakeHttpServer &) = delete;
    FakeHttpServer &operator=(const FakeHttpServer &) = delete;

    quint16 port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by `path`.
    QUrl url(const QString &path = QStringLiteral("/")) const;
    QString base() const;

    // Answers in order; the last one repeats.
    void script(const QByteArray &method, const QString &path, QList<FakeResponse> answers);
    // Runs on the server's thread for every request to `path`.
    void handle(const QByteArray &method, const QString &path, Handler handler);

    int hits(const QString &path) const;
    int totalHits() const;
    QList<RecordedRequest> requests(const QString &path = QString()) const;

    // Called by the worker on the server's thread.
    FakeResponse answer(const RecordedRequest &request);

private:
    struct Route {
        QList<FakeResponse> answers;
        Handler handler;
    };

    QThread *m_thread;
    FakeHttpServerWorker *m_worker;
    quint16 m_port = 0;
    mutable std::mutex m_mutex;
    QMap<QString, Route> m_routes;
    QList<RecordedRequest> m_requests;
};
