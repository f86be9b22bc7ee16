// The socket side of FakeHttpServer, living on the server's thread.
#pragma once

#include <QHash>
#include <QObject>

class FakeHttpServer;
class QTcpServer;
class QTcpSocket;
struct FakeResponse;

class FakeHttpServerWorker : public QObject
{
    Q_OBJECT
public:
    explicit FakeHttpServerWorker(FakeHttpServer *owner);

    // Binds 127.0.0.1 on a free port; 0 on failure.
    quint16 listen();

private:
    void accept();
    void readFrom(QTcpSocket *socket);
    void reply(QTcpSocket *socket, const FakeResponse &response);
    void trickle(QTcpSocket *socket, const QByteArray &body, int intervalMs);

    FakeHttpServer *m_owner;
    QTcpServer *m_server = nullptr;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
