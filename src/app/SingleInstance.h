// Keeps the application to one process per user: a later launch hands its message (a sign-in
// redirect URL, or "" to bring the window forward) to the running instance and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &serverName = defaultServerName(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // One name per user and settings folder, so a test root never meets the user's instance.
    static QString defaultServerName();
    QString serverName() const { return m_serverName; }

    // True when a running instance accepted `message`.
    bool sendToRunningInstance(const QString &message, int timeoutMs = 2000);

    // Starts accepting messages; a socket left behind by a crashed instance is replaced.
    bool listen();
    bool isListening() const;

signals:
    void messageReceived(const QString &message);

private:
    void acceptConnection();
    void readMessage(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server = nullptr;
};
