// Keeps the application to one process per user: a later launch hands its message (a sign-in
// redirect URL, or "" to bring the window forward) to the running instance and ends.
//
// The socket lives in the user's private runtime folder, and the running instance holds a lock
// beside it for as long as it listens (InstanceLock). A later launch hands its message over only
// when that lock is held and the listener belongs to this user; a name taken by anything else
// (another user, a program that is not this one, a socket left behind) never stops a start and
// receives nothing. Where the folder is not this user's alone, the program runs without the guard.
#pragma once

#include <QObject>
#include <QString>

#include "app/InstanceLock.h"

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // `serverName` is the socket's absolute path; its lock is the same path with ".lock". A path too
    // long for a socket is replaced by a name of its own in the folder in /tmp (serverName()).
    explicit SingleInstance(const QString &serverName = defaultServerName(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // One name per user and settings folder in AppFolders::runtimeFolder() (in /tmp where that is
    // too deep for a socket), so a test root never meets the user's instance.
    static QString defaultServerName();
    QString serverName() const { return m_serverName; }

    // True when a running instance of this program and user accepted `message`.
    bool sendToRunningInstance(const QString &message, int timeoutMs = 2000);

    // Takes the instance lock and starts accepting messages; whatever else holds the name is
    // replaced. False (and logged) when the folder or the lock is not this user's alone or another
    // instance runs.
    bool listen();
    bool isListening() const;

signals:
    void messageReceived(const QString &message);

private:
    // The folder in /tmp for sockets whose path would be too long; used only where it is this
    // user's alone.
    static QString fallbackFolder();
    static QString fittingName(const QString &serverName);
    QString lockPath() const;
    void prepareFolder() const;
    bool takeLock();
    void acceptConnection();
    void readMessage(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server = nullptr;
    InstanceLock m_lock;
};
