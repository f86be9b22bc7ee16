// The web-page addresses against a fake server on 127.0.0.1, with temporary folders, an injected
// sleeper and URL opener, and installation stamps set with utimensat.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

#include <QFile>
#include <QTemporaryDir>

#include "app/Uninstaller.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "support/FakeHttpServer.h"
#include "webpages/UrlSetting.h"

namespace
{

const QString kInstall = QStringLiteral("https://pages.example/after-install/");
const QString kUninstall = QStringLiteral("https://pages.example/after-uninstall/");

// Reads block, and blocking is refused on the GUI thread; the fake server has its own thread.
template <typename Call> void offGuiThread(Call call)
{
    std::thread worker(call);
    worker.join();
}

void setModificationTime(const QString &path, time_t seconds)
{
    const struct timespec times[2] = { { seconds, 0 }, { seconds, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class UrlSettingTest : public testing::Test
{
protected:
    void SetUp() override { UserDefaults::standard().resetAll(); }

    UrlSetting::Environment environment()
    {
        UrlSetting::Environment env;
        env.installerFolder = installer.path();
        env.supportFolder = support.filePath(QStringLiteral("Quennary"));
        env.executablePath = support.filePath(QStringLiteral("quennary"));
        env.languageCode = QStringLiteral("en");
        env.pages.echoUrl = server.url(QStringLiteral("/gethash/")).toString();
        env.pages.trackingUrl = server.url(QStringLiteral("/tempfile/")).toString();
        env.pages.afterInstallUrl = kInstall;
        env.pages.afterUninstallUrl = kUninstall;
        env.pages.campaignWord = QStringLiteral("word");
        env.openUrl = [this](const QUrl &url) {
            opened.append(url);
            return true;
        };
        env.sleep = [this](int ms) { pauses.append(ms); };
        return env;
    }
    // init and setupUrlSettings of a fresh instance, as at a start of the application.
    std::unique_ptr<UrlSetting> start(UrlSetting::Environment env)
    {
        auto settings = std::make_unique<UrlSetting>(std::move(env));
        offGuiThread([&] {
            settings->init();
            settings->setupUrlSettings();
        });
        return settings;
    }
    QString marker() const { return installer.filePath(QStringLiteral("urlSettingsAI.plist")); }

    FakeHttpServer server;
    QTemporaryDir installer;
    QTemporaryDir support;
    QList<QUrl> opened;
    QList<int> pauses;
};

struct EchoCase {
    const char *name;
    QByteArray answer;
    const char *address;
};

class EchoAnswers : public UrlSettingTest, public testing::WithParamInterface<EchoCase>
{
};

} // namespace

TEST_P(EchoAnswers, GiveTheLastPlainLineWithUnderscores)
{
    server.script("GET", QStringLiteral("/gethash/"), { FakeResponse::text(200, GetParam().answer) });
    UrlSetting settings(environment());
    QString address;
    offGuiThread(
        [&] { address = settings.fetchIPAddress(server.url(QStringLiteral("/gethash/")).toString()); });
    EXPECT_EQ(address, QString::fromLatin1(GetParam().address));
    EXPECT_EQ(server.hits(QStringLiteral("/gethash/")), 1);
}

INSTANTIATE_TEST_SUITE_P(Probes, EchoAnswers,
    testing::Values(EchoCase { "DottedAddress", "10.1.2.3", "10_1_2_3" },
        EchoCase { "TrailingLineFeed", "10.1.2.3\n", "" }, EchoCase { "OnlyAnEqualsLine", "ip=10.1.2.3", "" },
        EchoCase { "EqualsLineThenPlain", "ip=1\n10.0.0.1", "10_0_0_1" },
        EchoCase { "IPv6", "fe80::1", "fe80::1" }, EchoCase { "NotAnAddress", "<html>hi</html>", "" },
        EchoCase { "Oversized", "x=" + QByteArray(600 * 1024, 'a') + "\n10.0.0.1", "" }),
    [](const testing::TestParamInfo<EchoCase> &info) { return std::string(info.param.name); });

TEST_F(UrlSettingTest, EmptyEchoAnswersPauseFiveTimesAndAReadErrorEndsAtOnce)
{
    UrlSetting settings(environment());
    server.script("GET", QStringLiteral("/gethash/"), { FakeResponse::text(200, "") });
    offGuiThread([&] { settings.fetchIPAddress(server.url(QStringLiteral("/gethash/")).toString()); });
    EXPECT_EQ(server.hits(QStringLiteral("/gethash/")), 5);
    EXPECT_EQ(pauses, (QList<int> { 5000, 5000, 20000, 20000, 20000 }));

    pauses.clear();
    server.script("GET", QStringLiteral("/broken/"), { FakeResponse::text(500, "") });
    offGuiThread([&] { settings.fetchIPAddress(server.url(QStringLiteral("/broken/")).toString()); });
    EXPECT_EQ(server.hits(QStringLiteral("/broken/")), 1);
    EXPECT_TRUE(pauses.isEmpty());
}

TEST_F(UrlSettingTest, OnlyAHeadAnswerOf200CountsAsPresent)
{
    UrlSetting settings(environment());
    for (const int status : { 200, 204, 404, 500 }) {
        const QString path = QStringLiteral("/status/%1").arg(status);
        server.script("HEAD", path, { FakeResponse::text(status, "") });
        bool present = false;
        offGuiThread([&] { present = settings.checkUrlStatus(server.url(path).toString()); });
        EXPECT_EQ(present, status == 200) << status;
    }
}

TEST_F(UrlSettingTest, AFailedDownloadIsCachedEmptyAndTheCacheSparesTheNextStart)
{
    server.script("GET", QStringLiteral("/gethash/"), { FakeResponse::text(200, "10.0.0.1") });
    server.script("HEAD", QStringLiteral("/tempfile/10_0_0_1"), { FakeResponse::text(200, "") });
    server.script("GET", QStringLiteral("/tempfile/10_0_0_1"), { FakeResponse::text(500, "") });
    auto first = start(environment());
    EXPECT_TRUE(first->isDMGBuild());
    EXPECT_EQ(server.hits(QStringLiteral("/tempfile/10_0_0_1")), 6); // one HEAD, five reads
    const auto cached = PropertyList::readFile(support.filePath(QStringLiteral("Quennary/parmas.plist")));
    ASSERT_TRUE(cached.has_value());
    EXPECT_TRUE(cached->toMap().isEmpty());
    EXPECT_EQ(first->urlAfterInstall(), kInstall + QStringLiteral("?langcode=en"));

    auto second = start(environment());
    EXPECT_EQ(server.hits(QStringLiteral("/tempfile/10_0_0_1")), 6);
    EXPECT_EQ(server.hits(QStringLiteral("/gethash/")), 2);
    EXPECT_EQ(second->urlAfterInstall(), first->urlAfterInstall());
}

TEST_F(UrlSettingTest, AnInstallerLanguagePairReplacesOursOnlyInTheInstallerBuild)
{
    PropertyList::writeFile(marker(),
        QVariantMap { { "PARAMS_FILE_TO_DOWNLOAD", server.url(QStringLiteral("/p/")).toString() } });
    server.script("GET", QStringLiteral("/gethash/"), { FakeResponse::text(200, "10.0.0.1") });
    server.script("HEAD", QStringLiteral("/p/10_0_0_1"), { FakeResponse::text(200, "") });
    server.script("GET", QStringLiteral("/p/10_0_0_1"),
        { FakeResponse::text(200, "LangCode=de\nutm_source = a b&c\nbad\nx=1=2\n") });
    auto installed = start(environment());
    EXPECT_FALSE(installed->isDMGBuild());
    EXPECT_EQ(
        installed->urlAfterInstall(), kInstall + QStringLiteral("?LangCode=de&utm_source%20=a%20b%26c"));

    // The same set in a build without installer files gets our language parameter as well.
    QFile::remove(marker());
    PropertyList::writeFile(
        support.filePath(QStringLiteral("Quennary/parmas.plist")), QVariantMap { { "LangCode", "de" } });
    auto diskImage = start(environment());
    EXPECT_EQ(diskImage->urlAfterInstall(), kInstall + QStringLiteral("?LangCode=de&langcode=en"));
}

TEST_F(UrlSettingTest, UnreadableInstallerSettingsFallBackToTheInstallerFiles)
{
    writeFile(marker(), "not a property list");
    PropertyList::writeFile(
        installer.filePath(QStringLiteral("paramSettings.plist")), QVariantMap { { "utm_term", "t" } });
    auto settings = start(environment());
    EXPECT_EQ(settings->urlAfterUnInstall(),
        QStringLiteral("https://pages.example/after-uninstall?utm_term=t&langcode=en"));
    EXPECT_EQ(settings->urlAfterInstall(), kInstall + QStringLiteral("?utm_term=t&langcode=en"));

    PropertyList::writeFile(installer.filePath(QStringLiteral("url_info.plist")),
        QVariantMap { { "URL_AFTER_UNINSTALL", "https://other.example/bye/?a=1" } });
    settings = start(environment());
    EXPECT_EQ(settings->urlAfterUnInstall(),
        QStringLiteral("https://other.example/bye/?a=1&utm_term=t&langcode=en"));
}

struct StampCase {
    const char *name;
    QVariant stored; // invalid: absent
    int opens;
};

class Stamps : public UrlSettingTest, public testing::WithParamInterface<StampCase>
{
};

TEST_P(Stamps, OpenThePageOnceForEachNewInstallation)
{
    PropertyList::writeFile(marker(), QVariantMap {});
    setModificationTime(marker(), 1700000000);
    if (GetParam().stored.isValid())
        UserDefaults::standard().setObject(QStringLiteral("AIURLSettingsFILEDT"), GetParam().stored);
    UrlSetting::Environment env = environment();
    env.pages.echoUrl.clear();
    start(env);
    EXPECT_EQ(opened.size(), GetParam().opens);
    EXPECT_EQ(UserDefaults::standard().stringForKey(QStringLiteral("AIURLSettingsFILEDT")),
        QStringLiteral("1700000000.000000"));
    start(env);
    EXPECT_EQ(opened.size(), GetParam().opens);
    if (!opened.isEmpty()) {
        EXPECT_EQ(opened.first(), QUrl(kInstall + QStringLiteral("?langcode=en")));
    }
}

INSTANTIATE_TEST_SUITE_P(Stored, Stamps,
    testing::Values(StampCase { "Absent", QVariant(), 1 }, StampCase { "None", QStringLiteral("NONE"), 1 },
        StampCase { "Changed", QStringLiteral("1600000000.000000"), 1 },
        StampCase { "Equal", QStringLiteral("1700000000.000000"), 0 }),
    [](const testing::TestParamInfo<StampCase> &info) { return std::string(info.param.name); });

TEST_F(UrlSettingTest, ADiskImageBuildIsStampedByItsExecutableAndABuildDateNumberIsReplaced)
{
    UrlSetting::Environment env = environment();
    env.pages.echoUrl.clear();
    writeFile(env.executablePath, "binary");
    setModificationTime(env.executablePath, 1650000000);
    UserDefaults::standard().setObject(QStringLiteral("buildDate"), 20250515);
    auto settings = start(env);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(UserDefaults::standard().objectForKey(QStringLiteral("buildDate")),
        QVariant(QStringLiteral("15-05-2025")));
    setModificationTime(env.executablePath, 1660000000);
    start(env);
    EXPECT_EQ(opened.size(), 2);
    UserDefaults::standard().setObject(QStringLiteral("buildDate"), QStringLiteral("01-01-2020"));
    EXPECT_EQ(start(env)->buildDate(), QStringLiteral("01-01-2020"));
}

// Only web pages are opened after installation: a file or share address is never handed over.
TEST_F(UrlSettingTest, AnAfterInstallAddressThatIsNoWebPageIsNeverOpened)
{
    UrlSetting::Environment env = environment();
    env.pages.echoUrl.clear();
    env.pages.afterInstallUrl = QStringLiteral("file://localhost/etc/passwd");
    writeFile(env.executablePath, "binary");
    auto settings = start(env);
    EXPECT_FALSE(settings->openUrlInSafari(QStringLiteral("smb://host/share")));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(UrlSettingTest, TheDefaultsMakeNoCallAndOpenNothing)
{
    const WebPageConfiguration defaults = WebPageConfiguration::current();
    for (const QString &value : { defaults.echoUrl, defaults.trackingUrl, defaults.afterInstallUrl,
             defaults.afterUpdateUrl, defaults.afterUninstallUrl, defaults.campaignWord })
        EXPECT_TRUE(value.isEmpty()) << value.toStdString();
    UrlSetting::Environment env = environment();
    env.pages = defaults;
    int requests = 0;
    env.transport = [&requests](const HttpRequest &) {
        ++requests;
        return HttpResponse::failed(HttpResponse::Failure::refused, QStringLiteral("unexpected"));
    };
    writeFile(env.executablePath, "binary");
    auto settings = start(env);
    EXPECT_EQ(requests, 0);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(pauses.isEmpty());
    EXPECT_TRUE(Uninstaller::afterUninstallUrl(settings->urlAfterUnInstall()).isEmpty());
}
