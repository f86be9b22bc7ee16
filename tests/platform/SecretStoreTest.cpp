// The secret store's file fallback, the loopback test, and where cloud settings come from.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>

#include "platform/CloudConfiguration.h"
#include "platform/LoopbackGuard.h"
#include "platform/SecretStore.h"
#include "platform/UserDefaults.h"
#include "support/TestEvents.h"

namespace
{

mode_t modeOf(const QString &path)
{
    struct stat info {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 0777) : 0;
}

} // namespace

TEST(SecretStore, TheFileIsPrivateIsReplacedWholeAndRemoved)
{
    SecretStore store(SecretStore::Backend::fileOnly);
    const QString path = SecretStore::fallbackPath(QStringLiteral("Authorization2"));
    std::optional<bool> written;
    store.write(
        QStringLiteral("Authorization2"), "{\"access_token\": \"a\"}", [&](bool ok) { written = ok; });
    ASSERT_EQ(written, true);
    EXPECT_EQ(modeOf(path), mode_t(0600));
    EXPECT_EQ(modeOf(SecretStore::fallbackFolder()), mode_t(0700));

    // A file someone widened is narrowed again before the new secret goes in.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    store.write(QStringLiteral("Authorization2"), "second");
    EXPECT_EQ(modeOf(path), mode_t(0600));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "second");
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));

    std::optional<bool> removed;
    store.remove(QStringLiteral("Authorization2"), [&](bool ok) { removed = ok; });
    EXPECT_EQ(removed, true);
    EXPECT_FALSE(QFile::exists(path));

    std::optional<bool> escaped;
    store.write(QStringLiteral("../escape"), "x", [&](bool ok) { escaped = ok; });
    EXPECT_EQ(escaped, false);
    EXPECT_FALSE(SecretStore::isValidName(QStringLiteral(".hidden")));
}

TEST(LoopbackGuard, OnlyLoopbackNamesCount)
{
    for (const char *host : { "127.0.0.1", "127.8.0.1", "::1", "[::1]", "localhost", "LOCALHOST" })
        EXPECT_TRUE(LoopbackGuard::isLoopbackHost(QString::fromLatin1(host))) << host;
    for (const char *host : { "", "10.0.0.1", "localhost.example.com", "0.0.0.0", "::", "example.com" })
        EXPECT_FALSE(LoopbackGuard::isLoopbackHost(QString::fromLatin1(host))) << host;
    EXPECT_TRUE(LoopbackGuard::isInstalled());
}

TEST(CloudConfiguration, EnvironmentOverSettingsOverBuiltIn)
{
    UserDefaults &defaults = UserDefaults::standard();
    EXPECT_EQ(CloudConfiguration::dropboxApiBase(), QStringLiteral("https://api.dropboxapi.com"));
    EXPECT_TRUE(CloudConfiguration::googleClientId().isEmpty());
    EXPECT_TRUE(CloudConfiguration::dropboxAppKey().isEmpty());

    defaults.setObject(QStringLiteral("cloudDropboxApiBase"), QStringLiteral("http://127.0.0.1:9/"));
    EXPECT_EQ(CloudConfiguration::dropboxApiBase(), QStringLiteral("http://127.0.0.1:9/"));
    qputenv("QUENNARY_DROPBOX_API_BASE", "http://127.0.0.1:8");
    EXPECT_EQ(CloudConfiguration::dropboxApiBase(), QStringLiteral("http://127.0.0.1:8"));
    qunsetenv("QUENNARY_DROPBOX_API_BASE");
    defaults.removeObject(QStringLiteral("cloudDropboxApiBase"));
    EXPECT_EQ(CloudConfiguration::dropboxApiBase(), QStringLiteral("https://api.dropboxapi.com"));
}

TEST(SecretStore, WithoutASecretServiceTheFileTakesTheSecret)
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        GTEST_SKIP() << "a session bus may hold the user's real secret service";
    SecretStore store;
    std::optional<bool> written;
    store.write(QStringLiteral("headless"), "token", [&](bool ok) { written = ok; });
    ASSERT_TRUE(TestEvents::waitFor([&] { return written.has_value(); }, 10000));
    EXPECT_TRUE(*written);
    EXPECT_EQ(modeOf(SecretStore::fallbackPath(QStringLiteral("headless"))), mode_t(0600));
    std::optional<bool> removed;
    store.remove(QStringLiteral("headless"), [&](bool ok) { removed = ok; });
    ASSERT_TRUE(TestEvents::waitFor([&] { return removed.has_value(); }, 10000));
    EXPECT_FALSE(QFile::exists(SecretStore::fallbackPath(QStringLiteral("headless"))));
}
