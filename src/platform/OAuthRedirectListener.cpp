#include "platform/OAuthRedirectListener.h"

#include <algorithm>

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
    // Connections are taken one at a time, so no more than the held ones are ever open.
    m_server->setMaxPendingConnections(1);
}

bool OAuthRedirectListener::listen(const QHostAddress &address, quint16 port, int deadlineMs)
{
    // Connections of an earlier run may still be held, full or not.
    m_server->setMaxPendingConnections(m_held < kMaxConnections ? 1 : 0);
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
    while (!m_reading.isEmpty())
        drop(m_reading.first().socket);
}

void OAuthRedirectListener::accept()
{
    while (m_server->hasPendingConnections()) {
        // Full: the oldest connection that has not sent its whole request makes room. A browser
        // sends its redirect at once, so idle connections held open by another local process can
        // never keep it out.
        if (m_held >= kMaxConnections && !m_reading.isEmpty())
            drop(m_reading.first().socket);
        if (m_held >= kMaxConnections)
            break;
        hold(m_server->nextPendingConnection());
    }
    updateAccepting();
}

void OAuthRedirectListener::updateAccepting()
{
    if (!m_server->isListening())
        return;
    // While every connection held is being answered, none is taken from the system's backlog until
    // one of them has gone (taking none into the server's own queue either).
    const bool open = m_held < kMaxConnections || !m_reading.isEmpty();
    m_server->setMaxPendingConnections(open ? 1 : 0);
    if (open)
        m_server->resumeAccepting();
    else
        m_server->pauseAccepting();
}

void OAuthRedirectListener::hold(QTcpSocket *socket)
{
    ++m_held;
    socket->setParent(this);
    m_reading.append(Reading { socket, {} });
    // A child of the socket, so it stops and goes with it however the connection ends.
    auto *idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, this, [this, socket] { drop(socket); });
    idle->start(kIdleMs);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        m_reading.removeIf([socket](const Reading &open) { return open.socket == socket; });
        socket->deleteLater();
    });
    connect(socket, &QObject::destroyed, this, &OAuthRedirectListener::released);
}

void OAuthRedirectListener::released()
{
    --m_held;
    updateAccepting();
    // One taken into the server's queue while every place was being answered is announced no more.
    if (m_held < kMaxConnections && m_server->hasPendingConnections())
        QMetaObject::invokeMethod(this, &OAuthRedirectListener::accept, Qt::QueuedConnection);
}

int OAuthRedirectListener::heldConnections() const
{
    return int(findChildren<QTcpSocket *>().size());
}

int OAuthRedirectListener::liveTimers() const
{
    // The deadline is a member, not a child: only the connections' timers are counted.
    return int(findChildren<QTimer *>().size());
}

void OAuthRedirectListener::drop(QTcpSocket *socket)
{
    // Also an answered connection: one whose answer never leaves goes when its time is up.
    if (socket->parent() != this)
        return; // dropped already
    m_reading.removeIf([socket](const Reading &open) { return open.socket == socket; });
    // Its place is free at once, for the connection that made room; the object goes later.
    disconnect(socket, &QObject::destroyed, this, &OAuthRedirectListener::released);
    socket->setParent(nullptr);
    socket->abort();
    socket->deleteLater();
    released();
}

void OAuthRedirectListener::readFrom(QTcpSocket *socket)
{
    const auto entry = std::find_if(
        m_reading.begin(), m_reading.end(), [socket](const Reading &open) { return open.socket == socket; });
    if (entry == m_reading.end())
        return;
    QByteArray &buffer = entry->request;
    buffer += socket->read(kMaxRequestBytes + 1 - buffer.size());
    if (buffer.indexOf("\r\n\r\n") < 0) {
        if (buffer.size() > kMaxRequestBytes) {
            Log::line(QStringLiteral("Sign-in listener dropped an oversized request"));
            drop(socket);
        }
        return;
    }
    const QUrl target = redirectTarget(buffer);
    m_reading.erase(entry);
    updateAccepting();
    if (!m_server->isListening() || target.isEmpty()) {
        answer(socket, "400 Bad Request", {});
        return;
    }
    // The one redirect is served: the listener is done.
    close();
    emit redirectReceived(target);
    answer(socket, "200 OK", m_page);
}

QUrl OAuthRedirectListener::redirectTarget(const QByteArray &request) const
{
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QUrl target = QUrl::fromEncoded(requestLine.value(1), QUrl::StrictMode);
    const QString path = target.path().isEmpty() ? QStringLiteral("/") : target.path();
    const bool isRedirect = requestLine.value(0) == "GET" && target.isValid() && path == m_path
        && (!m_check || m_check(target));
    return isRedirect ? target : QUrl();
}

void OAuthRedirectListener::answer(QTcpSocket *socket, const QByteArray &status, const QByteArray &html)
{
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
        + QByteArray::number(html.size()) + "\r\nConnection: close\r\n\r\n" + html);
    socket->disconnectFromHost();
}
