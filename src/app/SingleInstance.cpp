#include "app/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PrivateFiles.h"

namespace
{

// A message ends with a line feed; a sender that disconnects early still delivers what it wrote.
constexpr char kTerminator = '\n';
constexpr int kMaxMessageBytes = 64 * 1024;
// The longest path a local socket may have.
constexpr qsizetype kMostSocketPath = sizeof(sockaddr_un::sun_path) - 1;

bool fitsASocket(const QString &path)
{
    return QFile::encodeName(path).size() <= kMostSocketPath;
}

// "/quennary-" and 16 hex digits that stand for `key`.
QString socketFileName(const QString &key)
{
    const QByteArray digest
        = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("/quennary-") + QString::fromLatin1(digest);
}

// The user id of the process at the other end of a connected local socket; -1 when unknown.
qint64 peerUserId(const QLocalSocket &socket)
{
    struct ucred credentials {
    };
    socklen_t length = sizeof(credentials);
    if (::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return -1;
    return qint64(credentials.uid);
}

// What the log says of a lock that was not taken; empty when it was.
QString notTaken(InstanceLock::Outcome outcome)
{
    switch (outcome) {
    case InstanceLock::Outcome::Taken:
        return {};
    case InstanceLock::Outcome::HeldElsewhere:
        return QStringLiteral("another instance holds %1; running on its own");
    case InstanceLock::Outcome::FolderRefused:
        return QStringLiteral(
            "the folder of %1 is not this user's alone; running without the single-instance guard");
    case InstanceLock::Outcome::FileRefused:
        break;
    }
    return QStringLiteral("%1 is not a lock file of this user; running without the single-instance guard");
}

} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(fittingName(serverName))
    , m_lock(lockPath())
{
}

// The socket goes before the lock: a launch that takes the lock next replaces the name, and a
// server closing after that would remove the new instance's socket.
SingleInstance::~SingleInstance()
{
    delete m_server;
    m_server = nullptr;
    m_lock.release();
}

QString SingleInstance::fallbackFolder()
{
    return QStringLiteral("/tmp/quennary-%1").arg(::getuid());
}

QString SingleInstance::fittingName(const QString &serverName)
{
    if (fitsASocket(serverName))
        return serverName;
    const QString name = fallbackFolder() + socketFileName(serverName);
    Log::line(QStringLiteral("The URL event name %1 is too long for a socket; %2 stands for it")
                  .arg(serverName, name));
    return name;
}

QString SingleInstance::defaultServerName()
{
    const QString name = socketFileName(AppFolders::settingsFolder());
    const QString inRuntime = AppFolders::runtimeFolder() + name;
    // A runtime folder too deep for a socket (a home of a long path without XDG_RUNTIME_DIR) gives
    // way to the folder in /tmp, used only where it is this user's alone.
    return fitsASocket(inRuntime) ? inRuntime : fallbackFolder() + name;
}

QString SingleInstance::lockPath() const
{
    return m_serverName + QStringLiteral(".lock");
}

// A folder of ours made by an older release is narrowed first; one of anybody else's is left as it
// is, and the lock refuses it.
void SingleInstance::prepareFolder() const
{
    const QString folder = QFileInfo(m_serverName).absolutePath();
    AppFolders::ensureFolder(folder);
    PrivateFiles::narrow(folder, false);
}

bool SingleInstance::takeLock()
{
    const QString why = notTaken(m_lock.take());
    if (!why.isEmpty())
        Log::line(QStringLiteral("URL event listener: ") + why.arg(lockPath()));
    return why.isEmpty();
}

bool SingleInstance::sendToRunningInstance(const QString &message, int timeoutMs)
{
    if (!m_lock.isHeld())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_serverName, QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (peerUserId(socket) != qint64(::geteuid())) {
        Log::line(QStringLiteral("The URL event name %1 is held by another user; this launch runs on its own")
                      .arg(m_serverName));
        socket.abort();
        return false;
    }
    socket.write(message.toUtf8() + kTerminator);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return written;
}

bool SingleInstance::listen()
{
    if (isListening())
        return true;
    prepareFolder();
    if (!takeLock())
        return false;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    }
    // With the lock ours, whatever holds the name is not a running instance: a socket left by a
    // crash, or a listener that is not this program.
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
