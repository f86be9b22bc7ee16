// The sign-in listener under a flood of loopback connections from another thread: it never holds
// more than its few connections and their timers, and still serves the redirect afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <thread>

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/OAuthRedirectListener.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kFlood = 10000;
// Connections the flood keeps open at once: more than the listener holds, so it stays full.
constexpr int kOpenAtOnce = 32;

// Opens `count` connections to `port` without waiting for any, sends each `request` (if it can)
// and resets the oldest once kOpenAtOnce are open, so no connection is left behind.
void flood(quint16 port, const QByteArray &request, int count)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::deque<int> open;
    const auto resetOldest = [&open] {
        // A reset leaves no TIME_WAIT behind, so ten thousand of them do not use up the ports.
        const linger reset { 1, 0 };
        setsockopt(open.front(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        ::close(open.front());
        open.pop_front();
    };
    for (int i = 0; i < count; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (fd < 0)
            break;
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
        if (!request.isEmpty())
            ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL);
        open.push_back(fd);
        if (int(open.size()) > kOpenAtOnce)
            resetOldest();
    }
    while (!open.empty())
        resetOldest();
}

// What the flood's connections send: nothing, half a request, a whole request that is refused.
class ListenerFlood : public testing::TestWithParam<const char *>
{
};

TEST_P(ListenerFlood, HoldsAtMostItsConnectionsAndTimersAndThenServesTheRedirect)
{
    OAuthRedirectListener listener;
    listener.setCallbackPath(QStringLiteral("/cb"));
    listener.setRedirectCheck(
        [](const QUrl &target) { return target.query() == QLatin1String("code=1&state=s"); });
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    QUrl served;
    QObject::connect(
        &listener, &OAuthRedirectListener::redirectReceived, [&](const QUrl &target) { served = target; });

    int peakConnections = 0;
    int peakTimers = 0;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        peakConnections = std::max(peakConnections, listener.heldConnections());
        peakTimers = std::max(peakTimers, listener.liveTimers());
    });
    sample.start(0);
    std::atomic<bool> done { false };
    std::thread flooding([&, port = listener.port(), request = QByteArray(GetParam())] {
        flood(port, request, kFlood);
        done = true;
    });
    const bool ended = TestEvents::waitFor([&] { return done.load(); }, 120000);
    flooding.join();
    ASSERT_TRUE(ended);

    QTcpSocket browser;
    browser.connectToHost(QHostAddress::LocalHost, listener.port());
    browser.write("GET /cb?code=1&state=s HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_TRUE(
        TestEvents::waitFor([&] { return browser.state() == QAbstractSocket::UnconnectedState; }, 30000));
    EXPECT_TRUE(browser.readAll().startsWith("HTTP/1.1 200"));
    EXPECT_EQ(served.query(), QLatin1String("code=1&state=s"));
    sample.stop();
    // Full at some point, never past it, and a timer only for a held connection.
    EXPECT_EQ(peakConnections, OAuthRedirectListener::kMaxConnections);
    EXPECT_LE(peakTimers, OAuthRedirectListener::kMaxConnections);
    EXPECT_GT(peakTimers, 0);
}

INSTANTIATE_TEST_SUITE_P(Requests, ListenerFlood,
    testing::Values("", "GET /cb?code=", "GET /cb?code=planted&state=forged HTTP/1.1\r\n\r\n"));

} // namespace
