// The sign-in listener under a flood of loopback connections from another thread: it never holds
// more than its few connections and their timers, and still serves the redirect afterwards.
#include <gtest/gtest.h>

#include <deque>
#include <future>
#include <vector>

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/OAuthRedirectListener.h"
#include "support/TestEvents.h"

namespace
{

// Opens ten thousand connections to `port` without waiting for any, each sending `request`,
// keeping 32 open (more than the listener holds) and resetting the oldest: no TIME_WAIT is left.
void flood(quint16 port, const QByteArray &request)
{
    sockaddr_in address { AF_INET, htons(port), { htonl(INADDR_LOOPBACK) }, {} };
    std::deque<int> open;
    for (int i = 0; i <= 10000 || !open.empty(); ++i) {
        const int fd = i < 10000 ? socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0) : -1;
        if (fd >= 0) {
            ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
            ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL);
            open.push_back(fd);
        }
        if (open.size() > 32 || (fd < 0 && !open.empty())) {
            const linger reset { 1, 0 };
            setsockopt(open.front(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            ::close(open.front());
            open.pop_front();
        }
    }
}

// What the flood's connections send: nothing, half a request, a whole request that is refused.
using ListenerFlood = testing::TestWithParam<const char *>;

TEST_P(ListenerFlood, HoldsAtMostItsConnectionsAndTimersAndThenServesTheRedirect)
{
    OAuthRedirectListener listener;
    listener.setCallbackPath(QStringLiteral("/cb"));
    listener.setRedirectCheck([](const QUrl &target) { return target.query() == QLatin1String("state=s"); });
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    QUrl served;
    QObject::connect(
        &listener, &OAuthRedirectListener::redirectReceived, [&](const QUrl &target) { served = target; });
    int peakConnections = 0, peakTimers = 0;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        peakConnections = std::max(peakConnections, listener.heldConnections());
        peakTimers = std::max(peakTimers, listener.liveTimers());
    });
    sample.start(0);
    const std::future<void> flooding = std::async(std::launch::async, flood, listener.port(), GetParam());
    ASSERT_TRUE(TestEvents::waitFor(
        [&] { return flooding.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 120000));

    QTcpSocket browser;
    browser.connectToHost(QHostAddress::LocalHost, listener.port());
    browser.write("GET /cb?state=s HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(
        TestEvents::waitFor([&] { return browser.state() == QAbstractSocket::UnconnectedState; }, 30000));
    EXPECT_TRUE(browser.readAll().startsWith("HTTP/1.1 200"));
    EXPECT_EQ(served.query(), QLatin1String("state=s"));
    // Full at some point, never past it, and a timer only for a held connection.
    EXPECT_EQ(peakConnections, OAuthRedirectListener::kMaxConnections);
    EXPECT_LE(peakTimers, OAuthRedirectListener::kMaxConnections);
    EXPECT_GT(peakTimers, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ListenerFlood, testing::Values("", "GET /cb?state=", "GET /cb?state=forged HTTP/1.1\r\n\r\n"));

// Hundreds of connections another local process opens and keeps open without a word: the
// redirect that follows is still answered, long before idle time-outs could have let it in.
TEST(ListenerFloodHeldOpen, AnswersTheRedirectPastIdleConnections)
{
    OAuthRedirectListener listener;
    listener.setCallbackPath(QStringLiteral("/cb"));
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    sockaddr_in address { AF_INET, htons(listener.port()), { htonl(INADDR_LOOPBACK) }, {} };
    std::vector<int> idle;
    for (int i = 0; i < 300; ++i) {
        idle.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        ::connect(idle.back(), reinterpret_cast<const sockaddr *>(&address), sizeof address);
    }
    TestEvents::waitFor(
        [&] { return listener.heldConnections() == OAuthRedirectListener::kMaxConnections; }, 5000);

    QTcpSocket browser;
    browser.connectToHost(QHostAddress::LocalHost, listener.port());
    browser.write("GET /cb?code=c HTTP/1.1\r\n\r\n");
    // Eight at a time, each dropped only when idle for its time, would take minutes.
    EXPECT_TRUE(TestEvents::waitFor([&] { return browser.state() == QAbstractSocket::UnconnectedState; },
        4 * OAuthRedirectListener::kIdleMs));
    EXPECT_TRUE(browser.readAll().startsWith("HTTP/1.1 200"));
    for (const int fd : idle)
        ::close(fd);
}

} // namespace
