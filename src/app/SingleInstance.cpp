#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>

#include "platform/AppFolders.h"
#include "platform/Log.h"

namespace
{

// A message ends with a line feed; a sender that disconnects early still delivers what it wrote.
constexpr char kTerminator = '\n';
constexpr int kMaxMessageBytes = 64 * 1024;

} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(serverName)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    const QByteArray key = AppFolders::settingsFolder().toUtf8();
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("quennary-") + QString::fromLatin1(digest);
}

bool SingleInstance::sendToRunningInstance(const QString &message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName, QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message.toUtf8() + kTerminator);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return written;
}

bool SingleInstance::listen()
{
    if (m_server && m_server->isListening())
        return true;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    }
    if (m_server->listen(m_serverName))
        return true;
    QLocalServer::removeServer(m_serverName);
    if (m_server->listen(m_serverName))
        return true;
    Log::line(QStringLiteral("URL event listener failed: ") + m_server->errorString());
    return false;
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readMessage(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            readMessage(socket);
    }
}

void SingleInstance::readMessage(QLocalSocket *socket)
{
    QByteArray buffer = socket->property("pending").toByteArray() + socket->readAll();
    int end = buffer.indexOf(kTerminator);
    while (end >= 0) {
        const QString message = QString::fromUtf8(buffer.left(end));
        buffer.remove(0, end + 1);
        emit messageReceived(message);
        end = buffer.indexOf(kTerminator);
    }
    // A peer that never ends its line is not allowed to grow the buffer without bound.
    if (buffer.size() > kMaxMessageBytes)
        buffer.clear();
    socket->setProperty("pending", buffer);
}
