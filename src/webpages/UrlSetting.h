// The addresses of the pages opened after installation and after uninstallation, with their
// campaign and language parameters, and the after-installation page itself. The start-up work runs
// on a thread of its own and may block there for over a minute (echo retries); readers on other
// threads get the built-in addresses until it stores its results, and never wait for it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include <QMap>
#include <QString>
#include <QUrl>

#include "platform/HttpRequest.h"
#include "platform/HttpResponse.h"
#include "webpages/CampaignParameters.h"
#include "webpages/WebPageConfiguration.h"

class UrlSetting
{
public:
    using UrlOpener = std::function<bool(const QUrl &)>;
    // Pauses the calling thread; the default wakes early when stop() is called.
    using Sleeper = std::function<void(int ms)>;
    // One blocking request; the default is HttpClient's blocking mode.
    using Transport = std::function<HttpResponse(const HttpRequest &)>;

    static constexpr int kReadTimeoutMs = 30000;

    // What the work reads from its surroundings; current() gives the application's.
    struct Environment {
        // The package's data folder (AppFolders::installerSettingsFolder()).
        QString installerFolder;
        // Where the parameter caches go (AppFolders::supportFolder()).
        QString supportFolder;
        // Stamps a build without installer files.
        QString executablePath;
        QString languageCode;
        QString bundleVersion;
        WebPageConfiguration pages;
        UrlOpener openUrl;
        Sleeper sleep;
        Transport transport;

        static Environment current();
    };

    // The process's instance, made on first use with Environment::current(); cheap, no work.
    static UrlSetting &shared();

    explicit UrlSetting(Environment environment);

    // The echo fetch and the build date.
    void init();
    // The start-up entry: addresses by build kind, then the after-installation page.
    void setupUrlSettings();
    void openAfterInstallPageIfNeeded();
    // Opens one address through the opener; "true"/"false" on standard output. Only http and https
    // pages are opened (WebAddress::page), never an empty, invalid or other address.
    bool openUrlInSafari(const QString &address);

    void buildUrlsFromUrlInfo();
    void loadUrlInfo();
    void downloadParamsFile();
    void defaultUrlsWithUtm();
    // Up to five immediate reads; an empty set when all fail.
    QMap<QString, QString> fetchParamsDictionary(const QString &address);
    void createApplicationSupportFolder();
    // Up to five reads with pauses of 5, 5, 20, 20 and 20 s after empty answers.
    QString fetchIPAddress(const QString &address);
    // True only for an HTTP 200 answer to HEAD.
    bool checkUrlStatus(const QString &address);

    // Wakes a pause and cuts a read short; the work then runs to its end without waiting.
    void stop();

    QString urlAfterInstall() const;
    QString urlAfterUpdate() const;
    QString urlAfterUnInstall() const;
    QString buildDate() const;
    QString ipAddress() const;
    bool isDMGBuild() const;

private:
    struct PageAddresses {
        QString afterInstall;
        QString afterUpdate;
        QString afterUninstall;
    };

    PageAddresses builtInAddresses() const;
    PageAddresses addressesFromUrlInfo(bool trimUninstallSlash) const;
    void storeAddresses(const PageAddresses &pages, const CampaignParameters::Pairs &pairs);
    QString stampFilePath() const;
    void logVersion() const;
    HttpResponse read(const QByteArray &method, const QString &address) const;
    void pause(int ms);
    QString markerPath() const;

    Environment m_env;
    std::atomic<bool> m_stop { false };
    std::mutex m_pauseMutex;
    std::condition_variable m_wake;

    mutable std::mutex m_mutex;
    bool m_isLangCodeExistsInServerParameter = false;
    QString m_urlAfterInstall;
    QString m_urlAfterUpdate;
    QString m_urlAfterUnInstall;
    QString m_buildDate;
    bool m_isDMGBuild = false;
    QString m_ipAddress;
};
