#include "support/FakeHttpServerWorker.h"

#include <memory>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include "support/FakeHttpServer.h"

namespace
{

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 409:
        return "Conflict";
    case 429:
        return "Too Many Requests";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

// One complete request from the front of `buffer`, removed from it; false while incomplete.
bool takeRequest(QByteArray &buffer, RecordedRequest &request)
{
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return false;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    const QUrl target(QString::fromLatin1(requestLine.value(1)));
    request.path = target.path(QUrl::FullyEncoded);
    request.query = QUrlQuery(target.query(QUrl::FullyEncoded));
    qsizetype length = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed();
        const QByteArray value = line.mid(colon + 1).trimmed();
        request.headers.append({ name, value });
        if (name.compare("Content-Length", Qt::CaseInsensitive) == 0)
            length = value.toLongLong();
    }
    if (buffer.size() < headerEnd + 4 + length)
        return false;
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.remove(0, headerEnd + 4 + length);
    return true;
}

} // namespace

FakeHttpServerWorker::FakeHttpServerWorker(FakeHttpServer *owner)
    : m_owner(owner)
{
}

quint16 FakeHttpServerWorker::listen()
{
    m_server = new QTcpServer(this);
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        return 0;
    connect(m_server, &QTcpServer::newConnection, this, &FakeHttpServerWorker::accept);
    return m_server->serverPort();
}

void FakeHttpServerWorker::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void FakeHttpServerWorker::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    RecordedRequest request;
    if (!takeRequest(buffer, request))
        return;
    const FakeResponse response = m_owner->answer(request);
    if (response.neverAnswer)
        return;
    if (response.delayMs > 0)
        QTimer::singleShot(response.delayMs, socket, [this, socket, response] { reply(socket, response); });
    else
        reply(socket, response);
}

void FakeHttpServerWorker::reply(QTcpSocket *socket, const FakeResponse &response)
{
    QByteArray head
        = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    for (const auto &header : response.headers)
        head += header.first + ": " + header.second + "\r\n";
    const qint64 length = response.announcedLength >= 0 ? response.announcedLength : response.body.size();
    if (response.chunked)
        head += "Transfer-Encoding: chunked\r\n";
    else if (!response.omitLength)
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    if (response.trickleMs > 0) {
        trickle(socket, response.body, response.trickleMs);
        return;
    }
    QByteArray sent = response.closeEarly ? response.body.left(response.body.size() / 2) : response.body;
    if (response.chunked)
        sent = QByteArray::number(sent.size(), 16) + "\r\n" + sent + (response.closeEarly ? "" : "\r\n0\r\n\r\n");
    socket->write(sent);
    if (response.closeEarly) {
        socket->flush();
        socket->abort();
        return;
    }
    socket->disconnectFromHost();
}

void FakeHttpServerWorker::trickle(QTcpSocket *socket, const QByteArray &body, int intervalMs)
{
    // The timer belongs to the socket, so it goes when the client hangs up.
    auto *timer = new QTimer(socket);
    auto next = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [socket, timer, body, next] {
        if (*next >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid((*next)++, 1));
    });
    timer->start(intervalMs);
}
