// HttpClient against a scripted server on 127.0.0.1: retries, refresh on 401, bounded waits, the
// thread rules of its three modes, and tokens kept to the API hosts.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QCoreApplication>
#include <QTcpSocket>
#include <QThread>

#include "platform/HttpClient.h"
#include "platform/RetryPolicy.h"
#include "platform/StaticTokenSource.h"
#include "support/FakeHttpServer.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kWaitMs = 10000;

// A token that a refresh replaces (or fails to).
class SwappingTokenSource : public TokenSource
{
public:
    SwappingTokenSource(QList<QUrl> bases, bool refreshWorks)
        : TokenSource(std::move(bases))
        , m_refreshWorks(refreshWorks)
    {
    }
    QString accessToken() const override
    {
        return m_refreshes > 0 ? QStringLiteral("new") : QStringLiteral("old");
    }
    void refresh(std::function<void(bool)> done) override
    {
        if (m_refreshWorks)
            ++m_refreshes;
        ++m_asked;
        done(m_refreshWorks);
    }
    int asked() const { return m_asked; }

private:
    bool m_refreshWorks;
    std::atomic<int> m_refreshes { 0 };
    std::atomic<int> m_asked { 0 };
};

HttpResponse sendAndWait(HttpClient &client, HttpRequest request)
{
    std::optional<HttpResponse> result;
    client.send(std::move(request), [&](const HttpResponse &response) { result = response; });
    EXPECT_TRUE(TestEvents::waitFor([&] { return result.has_value(); }, kWaitMs));
    return result.value_or(HttpResponse::failed(HttpResponse::Failure::network, QStringLiteral("no answer")));
}

// A blocking call from a thread of its own while this thread keeps its event loop turning.
HttpResponse sendFromBackground(HttpClient &client, HttpRequest request)
{
    std::atomic<bool> done { false };
    HttpResponse result;
    std::thread worker([&] {
        result = client.sendBlocking(request);
        done = true;
    });
    EXPECT_TRUE(TestEvents::waitFor([&] { return done.load(); }, kWaitMs));
    worker.join();
    return result;
}

RetryPolicy recordingPolicy(QList<int> *pauses)
{
    RetryPolicy policy;
    policy.maxJitterMs = 0;
    policy.sleeper = [pauses](int ms, std::function<void()> resume) {
        pauses->append(ms);
        resume();
    };
    return policy;
}

FakeResponse withHeader(FakeResponse response, const QByteArray &name, const QByteArray &value)
{
    response.headers.append(qMakePair(name, value));
    return response;
}

struct RetryCase {
    const char *name;
    QList<FakeResponse> answers;
    int hits;
    bool ok;
    QList<int> pauses;
};

class Retries : public testing::TestWithParam<RetryCase>
{
};

const QByteArray kRateLimited
    = R"({"error": {"code": 403, "errors": [{"reason": "userRateLimitExceeded"}]}})";
const QByteArray kForbidden
    = R"({"error": {"code": 403, "errors": [{"reason": "insufficientPermissions"}]}})";

} // namespace

TEST_P(Retries, FollowThePolicy)
{
    FakeHttpServer server;
    server.script("GET", QStringLiteral("/files"), GetParam().answers);
    QList<int> pauses;
    HttpClient client({ HttpClient::Mode::guiThread, {}, recordingPolicy(&pauses), 5000 });
    const HttpResponse response = sendAndWait(client, HttpRequest::get(server.url(QStringLiteral("/files"))));
    EXPECT_EQ(server.hits(QStringLiteral("/files")), GetParam().hits);
    EXPECT_EQ(response.ok(), GetParam().ok);
    EXPECT_EQ(pauses, GetParam().pauses);
}

INSTANTIATE_TEST_SUITE_P(Answers, Retries,
    testing::Values(
        RetryCase { "Unavailable_Unavailable_Ok",
            { FakeResponse::text(503, ""), FakeResponse::text(503, ""), FakeResponse::json(200, "{}") }, 3,
            true, { 1000, 2000 } },
        RetryCase { "BadRequestOnce", { FakeResponse::json(400, "{}"), FakeResponse::json(200, "{}") }, 1,
            false, {} },
        RetryCase { "RetryAfterSeconds",
            { withHeader(FakeResponse::text(429, ""), "Retry-After", "7"), FakeResponse::json(200, "{}") }, 2,
            true, { 7000 } },
        RetryCase { "RateLimitReason",
            { FakeResponse::json(403, kRateLimited), FakeResponse::json(200, "{}") }, 2, true, { 1000 } },
        RetryCase { "OtherForbiddenOnce", { FakeResponse::json(403, kForbidden) }, 1, false, {} },
        RetryCase { "GivesUpAfterMaxRetries", { FakeResponse::text(500, "") }, 6, false,
            { 1000, 2000, 4000, 8000, 16000 } }),
    [](const testing::TestParamInfo<RetryCase> &info) { return std::string(info.param.name); });

TEST(RetryPolicy, RetryAfterIsReadAsSecondsOrDateAndBackoffIsTruncated)
{
    const QDateTime now
        = QDateTime::fromString(QStringLiteral("Wed, 21 Oct 2015 07:28:00 +0000"), Qt::RFC2822Date);
    EXPECT_EQ(RetryPolicy::retryAfterMs("120", now), 120000);
    EXPECT_EQ(RetryPolicy::retryAfterMs("Wed, 21 Oct 2015 07:28:30 GMT", now), 30000);
    EXPECT_EQ(RetryPolicy::retryAfterMs("Wed, 21 Oct 2015 07:27:00 GMT", now), 0);
    EXPECT_FALSE(RetryPolicy::retryAfterMs("soon", now).has_value());
    EXPECT_FALSE(RetryPolicy::retryAfterMs("-5", now).has_value());
    RetryPolicy policy;
    for (int retry : { 0, 3, 10, 40 }) {
        const int delay = policy.delayMs(retry, HttpResponse());
        EXPECT_GE(delay, std::min(policy.baseDelayMs << std::min(retry, 20), policy.maxDelayMs));
        EXPECT_LE(delay, policy.maxDelayMs + policy.maxJitterMs);
    }
}

struct UnauthorizedCase {
    const char *name;
    QList<FakeResponse> answers;
    bool refreshWorks;
    int hits;
    HttpResponse::Failure failure;
};

class Unauthorized : public testing::TestWithParam<UnauthorizedCase>
{
};

TEST_P(Unauthorized, RefreshesOnceAndRetriesOnce)
{
    FakeHttpServer server;
    server.script("POST", QStringLiteral("/2/files/list_folder"), GetParam().answers);
    auto tokens
        = std::make_shared<SwappingTokenSource>(QList<QUrl> { server.url() }, GetParam().refreshWorks);
    HttpClient client({ HttpClient::Mode::workerThread, tokens, {}, 5000 });
    const HttpResponse response = sendAndWait(
        client, HttpRequest::postJson(server.url(QStringLiteral("/2/files/list_folder")), "{}"));
    const QList<RecordedRequest> sent = server.requests(QStringLiteral("/2/files/list_folder"));
    ASSERT_EQ(sent.size(), GetParam().hits);
    EXPECT_EQ(response.failure, GetParam().failure);
    EXPECT_EQ(tokens->asked(), 1);
    EXPECT_EQ(sent.first().header("Authorization"), "Bearer old");
    if (sent.size() > 1) {
        EXPECT_EQ(sent.last().header("Authorization"), "Bearer new");
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, Unauthorized,
    testing::Values(UnauthorizedCase { "RefreshThenSuccess",
                        { FakeResponse::json(401, R"({"error_summary": "expired_access_token/"})"),
                            FakeResponse::json(200, "{}") },
                        true, 2, HttpResponse::Failure::none },
        UnauthorizedCase { "SecondRefusalIsSignedOut", { FakeResponse::json(401, "{}") }, true, 2,
            HttpResponse::Failure::signedOut },
        UnauthorizedCase { "FailedRefreshIsSignedOut", { FakeResponse::json(401, "{}") }, false, 1,
            HttpResponse::Failure::signedOut }),
    [](const testing::TestParamInfo<UnauthorizedCase> &info) { return std::string(info.param.name); });

TEST(HttpClient, WaitsAreBoundedAndAStopEndsThem)
{
    FakeHttpServer server;
    server.script("GET", QStringLiteral("/silent"), { FakeResponse::silence() });
    FakeResponse cut = FakeResponse::text(200, QByteArray(1000, 'x'));
    cut.closeEarly = true;
    server.script("GET", QStringLiteral("/cut"), { cut });

    HttpClient quick({ HttpClient::Mode::blocking, {}, {}, 200 });
    EXPECT_EQ(sendFromBackground(quick, HttpRequest::get(server.url(QStringLiteral("/silent")))).failure,
        HttpResponse::Failure::timeout);
    EXPECT_EQ(sendFromBackground(quick, HttpRequest::get(server.url(QStringLiteral("/cut")))).failure,
        HttpResponse::Failure::network);

    HttpClient patient({ HttpClient::Mode::blocking, {}, {}, 600000 });
    HttpRequest overdue = HttpRequest::get(server.url(QStringLiteral("/silent")));
    overdue.deadlineMs = 200;
    EXPECT_EQ(sendFromBackground(patient, overdue).failure, HttpResponse::Failure::timeout);

    std::atomic<bool> stop { true };
    HttpRequest stopped = HttpRequest::get(server.url(QStringLiteral("/silent")));
    stopped.stop = &stop;
    EXPECT_EQ(sendFromBackground(patient, stopped).failure, HttpResponse::Failure::stopped);
    EXPECT_EQ(server.hits(QStringLiteral("/silent")), 2);
}

TEST(HttpClient, BlockingIsRefusedOnTheGuiThreadAndOnTheWorkerThread)
{
    FakeHttpServer server;
    server.script("GET", QStringLiteral("/a"), { FakeResponse::json(200, "{}") });
    HttpClient blocking({ HttpClient::Mode::blocking, {}, {}, 5000 });
    EXPECT_EQ(blocking.sendBlocking(HttpRequest::get(server.url(QStringLiteral("/a")))).failure,
        HttpResponse::Failure::refused);

    HttpClient worker({ HttpClient::Mode::workerThread, {}, {}, 5000 });
    std::atomic<bool> done { false };
    std::atomic<bool> onWorker { false };
    HttpResponse nested;
    worker.send(HttpRequest::get(server.url(QStringLiteral("/a"))), [&](const HttpResponse &) {
        onWorker
            = worker.isDeliveryThread() && QThread::currentThread() != QCoreApplication::instance()->thread();
        nested = worker.sendBlocking(HttpRequest::get(server.url(QStringLiteral("/a"))));
        done = true;
    });
    ASSERT_TRUE(TestEvents::waitFor([&] { return done.load(); }, kWaitMs));
    EXPECT_TRUE(onWorker);
    EXPECT_EQ(nested.failure, HttpResponse::Failure::refused);
    EXPECT_EQ(server.hits(QStringLiteral("/a")), 1);
    EXPECT_TRUE(sendFromBackground(blocking, HttpRequest::get(server.url(QStringLiteral("/a")))).ok());
}

TEST(HttpClient, TheTokenGoesOnlyToApiHostsAndOutsideHostsAreNeverReached)
{
    FakeHttpServer api;
    FakeHttpServer other;
    api.script("GET", QStringLiteral("/x"), { FakeResponse::json(200, "{}") });
    other.script("GET", QStringLiteral("/x"), { FakeResponse::json(200, "{}") });
    auto tokens = std::make_shared<StaticTokenSource>(QStringLiteral("t"), QList<QUrl> { api.url() });
    HttpClient client({ HttpClient::Mode::guiThread, tokens, {}, 5000 });
    EXPECT_TRUE(sendAndWait(client, HttpRequest::get(api.url(QStringLiteral("/x")))).ok());
    EXPECT_TRUE(sendAndWait(client, HttpRequest::get(other.url(QStringLiteral("/x")))).ok());
    EXPECT_EQ(api.requests().first().header("Authorization"), "Bearer t");
    EXPECT_TRUE(other.requests().first().header("Authorization").isEmpty());

    const HttpResponse outside
        = sendAndWait(client, HttpRequest::get(QUrl(QStringLiteral("http://192.0.2.7/x"))));
    EXPECT_EQ(outside.failure, HttpResponse::Failure::refused);
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("example.com"), 80);
    EXPECT_EQ(socket.error(), QAbstractSocket::UnsupportedSocketOperationError);
    EXPECT_EQ(socket.state(), QAbstractSocket::UnconnectedState);
}
