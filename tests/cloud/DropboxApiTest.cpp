// The Dropbox requests and answers as the provider documents them.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include <QJsonDocument>
#include <QTimeZone>
#include <QUrlQuery>

#include "cloud/DropboxApi.h"
#include "cloud/DropboxAuth.h"
#include "platform/StaticTokenSource.h"
#include "support/FakeHttpServer.h"
#include "support/TestEvents.h"

TEST(DropboxApiRequests, TheDownloadArgumentIsAsciiJsonAndTheBodyHasNoFormType)
{
    const QString path = QStringLiteral("/Fotos/Été 😀 \"q\".jpg");
    const HttpRequest request = DropboxApi::downloadRequest(QUrl(QStringLiteral("http://h/")), path);
    EXPECT_EQ(request.url.path(), QStringLiteral("/2/files/download"));
    EXPECT_TRUE(request.body.isEmpty());
    EXPECT_TRUE(request.contentType.isEmpty());
    ASSERT_EQ(request.headers.size(), 1);
    const QByteArray argument = request.headers.first().second;
    for (const char c : argument)
        EXPECT_LT(uchar(c), 0x7F);
    EXPECT_TRUE(argument.contains("\\u00c9") || argument.contains("\\u00C9"));
    EXPECT_TRUE(argument.contains("\\ud83d\\ude00"));
    EXPECT_EQ(QJsonDocument::fromJson(argument).object().value(QStringLiteral("path")).toString(), path);
}

TEST(DropboxApiRequests, ListingAsksForOneFolderInPagesOfAThousand)
{
    const HttpRequest request
        = DropboxApi::listFolderRequest(QUrl(QStringLiteral("http://h/base")), QString());
    EXPECT_EQ(request.url.path(), QStringLiteral("/base/2/files/list_folder"));
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    EXPECT_EQ(body.value(QStringLiteral("path")).toString(QStringLiteral("x")), QString());
    EXPECT_FALSE(body.value(QStringLiteral("recursive")).toBool(true));
    EXPECT_EQ(body.value(QStringLiteral("limit")).toInt(), 1000);
}

TEST(DropboxApiAnswers, APageThatPromisesMoreWithoutACursorIsRefused)
{
    EXPECT_FALSE(DropboxApi::parseListPage(R"({"entries":[],"has_more":true})"));
    EXPECT_FALSE(DropboxApi::parseListPage("not json"));
    const auto page = DropboxApi::parseListPage(
        R"({"entries":[{".tag":"file","name":"a.jpg","id":"id:1","path_lower":"/a.jpg","rev":"1","size":5,)"
        R"("client_modified":"2015-05-12T15:50:38Z","server_modified":"2015-05-13T10:00:00Z"}],"cursor":"c","has_more":false})");
    ASSERT_TRUE(page);
    ASSERT_EQ(page->entries.size(), 1);
    const DropboxEntry &entry = page->entries.first();
    EXPECT_EQ(entry.kind, DropboxEntry::Kind::file);
    EXPECT_TRUE(entry.pathDisplay.isEmpty());
    EXPECT_EQ(entry.size, 5u);
    EXPECT_EQ(entry.clientModified, QDateTime(QDate(2015, 5, 12), QTime(15, 50, 38), QTimeZone::utc()));
}

struct DeleteAnswer {
    const char *name;
    int status;
    const char *body;
    DropboxApi::DeleteOutcome outcome;
};

class DropboxDeleteAnswers : public testing::TestWithParam<DeleteAnswer>
{
};

TEST_P(DropboxDeleteAnswers, AreReadByTheirErrorTags)
{
    const DeleteAnswer a = GetParam();
    HttpResponse response;
    response.status = a.status;
    response.body = a.body;
    response.failure = a.status == 200 ? HttpResponse::Failure::none
        : a.status == 0                ? HttpResponse::Failure::timeout
                                       : HttpResponse::Failure::status;
    EXPECT_EQ(DropboxApi::deleteOutcome(response), a.outcome);
}

INSTANTIATE_TEST_SUITE_P(Answers, DropboxDeleteAnswers,
    testing::Values(DeleteAnswer { "deleted", 200, "{}", DropboxApi::DeleteOutcome::deleted },
        DeleteAnswer { "notFound", 409,
            R"({"error_summary":"path_lookup/not_found/.","error":{".tag":"path_lookup","path_lookup":{".tag":"not_found"}}})",
            DropboxApi::DeleteOutcome::notFound },
        DeleteAnswer { "summaryOnly", 409, R"({"error_summary":"path_lookup/not_found/..."})",
            DropboxApi::DeleteOutcome::notFound },
        DeleteAnswer { "staleRevision", 409,
            R"({"error_summary":"path_write/conflict/file/.","error":{".tag":"path_write","path_write":{".tag":"conflict"}}})",
            DropboxApi::DeleteOutcome::changed },
        DeleteAnswer { "staleRevisionSummaryOnly", 409, R"({"error_summary":"path_write/conflict/file/.."})",
            DropboxApi::DeleteOutcome::changed },
        DeleteAnswer { "noWritePermission", 409,
            R"({"error_summary":"path_write/no_write_permission/.","error":{".tag":"path_write","path_write":{".tag":"no_write_permission"}}})",
            DropboxApi::DeleteOutcome::failed },
        DeleteAnswer { "malformedPath", 409,
            R"({"error_summary":"path_lookup/malformed_path/.","error":{".tag":"path_lookup","path_lookup":{".tag":"malformed_path"}}})",
            DropboxApi::DeleteOutcome::failed },
        DeleteAnswer { "rateLimited", 429, "{}", DropboxApi::DeleteOutcome::failed },
        DeleteAnswer { "silent", 0, "", DropboxApi::DeleteOutcome::failed }),
    [](const testing::TestParamInfo<DeleteAnswer> &info) { return std::string(info.param.name); });

TEST(DropboxSignInRequest, AsksForOfflineAccessToTheFourScopesAtTheConfiguredAddresses)
{
    qputenv("QUENNARY_DROPBOX_AUTH_BASE", "http://127.0.0.1:9/auth");
    qputenv("QUENNARY_DROPBOX_API_BASE", "http://127.0.0.1:9/api");
    qputenv("QUENNARY_DROPBOX_APP_KEY", "abcdefghijklmno");
    // Plain http only on this machine; another address is refused for the provider's own.
    qputenv("QUENNARY_DROPBOX_CONTENT_BASE", "http://127.0.0.1.example.org");
    EXPECT_EQ(DropboxApi::configuredBases().content, QUrl(QStringLiteral("https://content.dropboxapi.com")));
    qunsetenv("QUENNARY_DROPBOX_CONTENT_BASE");
    const OAuthProvider provider = DropboxAuth::provider();
    qunsetenv("QUENNARY_DROPBOX_AUTH_BASE");
    qunsetenv("QUENNARY_DROPBOX_API_BASE");
    qunsetenv("QUENNARY_DROPBOX_APP_KEY");
    EXPECT_EQ(
        provider.authorizationEndpoint, QUrl(QStringLiteral("http://127.0.0.1:9/auth/oauth2/authorize")));
    EXPECT_EQ(provider.tokenEndpoint, QUrl(QStringLiteral("http://127.0.0.1:9/api/oauth2/token")));
    EXPECT_EQ(provider.clientId, QStringLiteral("abcdefghijklmno"));
    EXPECT_EQ(provider.scope.split(QLatin1Char(' ')).size(), 4);
    EXPECT_TRUE(provider.extraAuthorizationParameters.contains(
        qMakePair(QStringLiteral("token_access_type"), QStringLiteral("offline"))));
}

TEST(DropboxApiCalls, ARateLimitOrAServerErrorIsSentAgainAfterItsPause)
{
    FakeHttpServer server;
    std::vector<int> pauses; // written on the listing's thread before `listed`
    RetryPolicy policy;
    policy.maxJitterMs = 0;
    policy.baseDelayMs = 7;
    policy.sleeper = [&](int ms, std::function<void()> resume) {
        pauses.push_back(ms);
        resume();
    };
    DropboxApi api({ server.url(), server.url() },
        std::make_shared<StaticTokenSource>(QStringLiteral("t"), QList<QUrl> { server.url() }), 20000,
        policy);
    FakeResponse limited = FakeResponse::json(429, "{}");
    limited.headers.append(qMakePair(QByteArray("Retry-After"), QByteArray("1")));
    server.script("POST", QStringLiteral("/2/files/list_folder"),
        { limited, FakeResponse::json(500, "{}"),
            FakeResponse::json(200, R"({"entries":[],"cursor":"c","has_more":false})") });
    std::atomic<int> listed { -1 };
    api.listFolder(
        {}, [&](const std::optional<DropboxListPage> &page, const QString &) { listed = page ? 1 : 0; });
    ASSERT_TRUE(TestEvents::waitFor([&] { return listed >= 0; }, 20000));
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(pauses, (std::vector<int> { 1000, 14 }));
}
