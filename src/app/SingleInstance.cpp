#include "app/SingleInstance.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(serverName)
{
}

SingleInstance::~SingleInstance()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::defaultServerName()
{
    const QByteArray key = AppFolders::settingsFolder().toUtf8();
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    const QString name = QStringLiteral("/quennary-") + QString::fromLatin1(digest);
    const QString inRuntime = AppFolders::runtimeFolder() + name;
    if (QFile::encodeName(inRuntime).size() <= kMostSocketPath)
        return inRuntime;
    // A runtime folder too deep for a socket (a home of a long path without XDG_RUNTIME_DIR) gives
    // way to a folder in /tmp, used only where it is this user's own and private.
    return QStringLiteral("/tmp/quennary-%1").arg(::getuid()) + name;
}

QString SingleInstance::lockPath() const
{
    return m_serverName + QStringLiteral(".lock");
}

// The running instance holds the lock exclusively; a shared lock that can be had means nobody does.
bool SingleInstance::instanceIsRunning() const
{
    const int fd = ::open(QFile::encodeName(lockPath()).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

bool SingleInstance::takeLock()
{
    if (m_lockFd >= 0)
        return true;
    const int fd
        = ::open(QFile::encodeName(lockPath()).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

// Nobody else may create, replace or connect to anything in the socket's folder. A folder of ours
// made by an older release is narrowed first.
bool SingleInstance::prepareFolder() const
{
    const QString folder = QFileInfo(m_serverName).absolutePath();
    AppFolders::ensureFolder(folder);
    PrivateFiles::narrow(folder, false);
    return PrivateFiles::isOwnPrivateFolder(folder);
}

bool SingleInstance::sendToRunningInstance(const QString &message, int timeoutMs)
{
    if (!instanceIsRunning())
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
    if (!prepareFolder()) {
        Log::line(QStringLiteral("URL event listener: the folder of %1 is not private; running on its own")
                      .arg(m_serverName));
        return false;
    }
    if (!takeLock()) {
        Log::line(QStringLiteral("URL event listener: another instance holds %1; running on its own")
                      .arg(lockPath()));
        return false;
    }
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
