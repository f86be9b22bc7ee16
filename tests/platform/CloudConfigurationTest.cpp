// Configured cloud addresses: https anywhere, plain http only on this machine; anything else falls
// back to the provider's own address.
#include <gtest/gtest.h>

#include "platform/CloudConfiguration.h"

struct BaseCase {
    const char *configured;
    const char *used;
};

class CloudBases : public testing::TestWithParam<BaseCase>
{
};

TEST_P(CloudBases, AreHttpsOrOnThisMachine)
{
    qputenv("QUENNARY_DROPBOX_API_BASE", GetParam().configured);
    qputenv("QUENNARY_GOOGLE_ISSUER", GetParam().configured);
    const QString dropbox = CloudConfiguration::dropboxApiBase();
    const QString google = CloudConfiguration::googleIssuer();
    qunsetenv("QUENNARY_DROPBOX_API_BASE");
    qunsetenv("QUENNARY_GOOGLE_ISSUER");
    const QString used = QString::fromLatin1(GetParam().used);
    EXPECT_EQ(dropbox, used.isEmpty() ? QStringLiteral("https://api.dropboxapi.com") : used);
    EXPECT_EQ(google, used.isEmpty() ? QStringLiteral("https://accounts.google.com") : used);
}

INSTANTIATE_TEST_SUITE_P(Configured, CloudBases,
    testing::Values(BaseCase { "https://proxy.example/api", "https://proxy.example/api" },
        BaseCase { "http://127.0.0.1:8080", "http://127.0.0.1:8080" },
        BaseCase { "http://localhost:9/x", "http://localhost:9/x" },
        BaseCase { "http://proxy.example/api", "" }, BaseCase { "http://127.0.0.1.example.org", "" },
        BaseCase { "file:///tmp/api", "" }, BaseCase { "https://", "" }));
