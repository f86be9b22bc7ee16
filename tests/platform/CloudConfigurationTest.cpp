// Configured cloud addresses: https anywhere, plain http only on this machine, else the built-in one.
#include <gtest/gtest.h>

#include "platform/CloudConfiguration.h"

TEST(CloudConfiguration, BasesAreHttpsOrOnThisMachine)
{
    const QString builtIn = QStringLiteral("https://api.dropboxapi.com");
    for (const auto &[configured, kept] :
        std::initializer_list<std::pair<const char *, bool>> { { "https://proxy.example/api", true },
            { "http://127.0.0.1:8080", true }, { "http://localhost:9/x", true },
            { "http://proxy.example/api", false }, { "http://127.0.0.1.example.org", false },
            { "file:///tmp/api", false }, { "https://", false } }) {
        qputenv("QUENNARY_DROPBOX_API_BASE", configured);
        EXPECT_EQ(CloudConfiguration::dropboxApiBase(), kept ? QString::fromLatin1(configured) : builtIn)
            << configured;
    }
    qunsetenv("QUENNARY_DROPBOX_API_BASE");
}
