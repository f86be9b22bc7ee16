#include "platform/OAuthRedirectListener.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include "platform/Log.h"

OAuthRedirectListener::OAuthRedirectListener(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        close();
        Log::line(QStringLiteral("Sign-in listener closed: no redirect before its deadline"));
        emit timedOut();
    });
    connect(m_server, &QTcpServer::newConnection, this, &OAuthRedirectListener::accept);
}

bool OAuthRedirectListener::listen(const QHostAddress &address, quint16 port, int deadlineMs)
{
    if (!m_server->listen(address, port))
        return false;
    m_deadline.start(deadlineMs);
    return true;
}

bool OAuthRedirectListener::isListening() const
{
    return m_server->isListening();
}

quint16 OAuthRedirectListener::port() const
{
    return m_server->serverPort();
}

void OAuthRedirectListener::setCallbackPath(const QString &path)
{
    m_path = path.isEmpty() ? QStringLiteral("/") : path;
}

void OAuthRedirectListener::setAnswerText(const QString &text)
{
    m_page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body><p>"
        + text.toHtmlEscaped().toUtf8() + "</p></body></html>";
}

void OAuthRedirectListener::close()
{
    m_deadline.stop();
    m_server->close();
    // Requests still being read are dropped; answers being written finish on their own.
    const QList<QTcpSocket *> reading = m_buffers.keys();
    m_buffers.clear();
    for (QTcpSocket *socket : reading)
        socket->abort();
}

void OAuthRedirectListener::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void OAuthRedirectListener::readFrom(QTcpSocket *socket)
{
    const auto entry = m_buffers.find(socket);
    if (entry == m_buffers.end())
        return;
    QByteArray &buffer = *entry;
    buffer += socket->read(kMaxRequestBytes + 1 - buffer.size());
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        if (buffer.size() > kMaxRequestBytes) {
            Log::line(QStringLiteral("Sign-in listener dropped an oversized request"));
            m_buffers.erase(entry);
            socket->abort();
        }
        return;
    }
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    m_buffers.erase(entry);
    const QUrl target = QUrl::fromEncoded(requestLine.value(1), QUrl::StrictMode);
    const QString path = target.path().isEmpty() ? QStringLiteral("/") : target.path();
    if (requestLine.value(0) != "GET" || !target.isValid() || path != m_path || !m_server->isListening()) {
        answer(socket, "404 Not Found", {});
        return;
    }
    // One redirect is served: whatever it carries, the listener is done.
    close();
    emit redirectReceived(target);
    answer(socket, "200 OK", m_page);
}

void OAuthRedirectListener::answer(QTcpSocket *socket, const QByteArray &status, const QByteArray &html)
{
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
        + QByteArray::number(html.size()) + "\r\nConnection: close\r\n\r\n" + html);
    socket->disconnectFromHost();
}
