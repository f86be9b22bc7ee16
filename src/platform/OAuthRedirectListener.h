// The loopback listener that catches a browser sign-in's redirect. It serves the one redirect that
// passes the sign-in's check (a GET to its callback path carrying the run's state) and then takes
// no more connections. Any other request (another path, a missing or foreign state, a browser's
// icon request) gets 400 and the listener goes on listening, so no other local process can spoil
// the sign-in by finding the port first. It holds a few connections at most, each with one idle
// timer that goes with it. When they are all held, a new connection takes the place of the oldest
// that has not sent its whole request, so that idle connections cannot keep the redirect out; while
// all of them are being answered it accepts nothing, so a flood of connections waits in the
// system's backlog instead of in the event loop. A connection is dropped when its
// request has not come whole within a few seconds or grows past a few KB. When no redirect has
// come by its deadline it closes and reports the time-out.
#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
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
    static constexpr int kMaxConnections = 8;
    // How long a connection may take to send its whole request.
    static constexpr int kIdleMs = 5000;

    // True when a request target ("/path?code=...&state=...") on the callback path is the redirect
    // of the sign-in that waits.
    using RedirectCheck = std::function<bool(const QUrl &target)>;

    explicit OAuthRedirectListener(QObject *parent = nullptr);

    // Binds `address` (port 0: any free port) and starts the deadline; false when it cannot bind.
    bool listen(const QHostAddress &address, quint16 port, int deadlineMs = kDefaultDeadlineMs);
    bool isListening() const;
    quint16 port() const;
    // The path the redirect comes to; empty means "/".
    void setCallbackPath(const QString &path);
    // Without a check, every request to the callback path counts as the redirect.
    void setRedirectCheck(RedirectCheck check) { m_check = std::move(check); }
    // The text of the page the browser shows once the redirect is taken.
    void setAnswerText(const QString &text);
    // Takes no more connections; answers already being written still go out.
    void close();

    // Connections held now, whether being read, answered or waiting to be taken, and the timers
    // that go with them: what a flood of connections can make the listener keep.
    int heldConnections() const;
    int liveTimers() const;

signals:
    // The request target of the redirect, as sent ("/path?code=...&state=...").
    void redirectReceived(const QUrl &target);
    void timedOut();

private:
    struct Reading {
        QTcpSocket *socket;
        QByteArray request;
    };

    void accept();
    // Takes `socket` in: its idle timer, its reading and its end.
    void hold(QTcpSocket *socket);
    void released();
    // Takes connections while a place is free or can be made, and none otherwise.
    void updateAccepting();
    void readFrom(QTcpSocket *socket);
    // The request's target when the request is the redirect; empty otherwise.
    QUrl redirectTarget(const QByteArray &request) const;
    void drop(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &status, const QByteArray &html);

    QTcpServer *m_server;
    QTimer m_deadline;
    QString m_path = QStringLiteral("/");
    RedirectCheck m_check;
    QByteArray m_page;
    // Connections whose request has not come whole yet, oldest first.
    QList<Reading> m_reading;
    // Connections taken and not yet destroyed (being read or answered).
    int m_held = 0;
};
