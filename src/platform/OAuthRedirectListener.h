// The loopback listener that catches a browser sign-in's redirect. It serves one redirect (a GET
// to its callback path) and then takes no more connections; a request that grows past a few KB
// before its headers end is dropped; and when no redirect has come by its deadline it closes and
// reports the time-out. Other paths (a browser's icon request) get 404 and do not count.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QHostAddress;
class QTcpServer;
class QTcpSocket;

class OAuthRedirectListener : public QObject
{
    Q_OBJECT
public:
    static constexpr qsizetype kMaxRequestBytes = 8 * 1024;
    static constexpr int kDefaultDeadlineMs = 5 * 60 * 1000;

    explicit OAuthRedirectListener(QObject *parent = nullptr);

    // Binds `address` (port 0: any free port) and starts the deadline; false when it cannot bind.
    bool listen(const QHostAddress &address, quint16 port, int deadlineMs = kDefaultDeadlineMs);
    bool isListening() const;
    quint16 port() const;
    // The path the redirect comes to; empty means "/".
    void setCallbackPath(const QString &path);
    // The text of the page the browser shows once the redirect is taken.
    void setAnswerText(const QString &text);
    // Takes no more connections; answers already being written still go out.
    void close();

signals:
    // The request target of the redirect, as sent ("/path?code=...&state=...").
    void redirectReceived(const QUrl &target);
    void timedOut();

private:
    void accept();
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &status, const QByteArray &html);

    QTcpServer *m_server;
    QTimer m_deadline;
    QString m_path = QStringLiteral("/");
    QByteArray m_page;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
