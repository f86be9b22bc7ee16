#include "webpages/UrlSetting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>

#include "app/LocalizedString.h"
#include "platform/AppFolders.h"
#include "platform/HttpClient.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "platform/WebAddress.h"

namespace
{

const char *const kBuiltInBuildDate = "15-05-2025";
constexpr int kReadAttempts = 5;
constexpr int kShortPauseMs = 5000;
constexpr int kLongPauseMs = 20000;

QString withoutFinalSlash(QString address)
{
    if (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

// The stored text of `key`, or a null text when it is absent or not text.
QString storedText(const QString &key)
{
    const QVariant value = UserDefaults::standard().objectForKey(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QVariantMap dictionaryAt(const QString &path, bool *readable = nullptr)
{
    const std::optional<QVariant> value = PropertyList::readFile(path);
    const bool isMap = value && value->typeId() == QMetaType::QVariantMap;
    if (readable)
        *readable = isMap;
    return isMap ? value->toMap() : QVariantMap();
}

} // namespace

UrlSetting::Environment UrlSetting::Environment::current()
{
    Environment environment;
    environment.installerFolder = AppFolders::installerSettingsFolder();
    environment.supportFolder = AppFolders::supportFolder();
    if (QCoreApplication::instance())
        environment.executablePath = QCoreApplication::applicationFilePath();
    environment.languageCode = Localization::currentLanguageCode();
    environment.bundleVersion = QCoreApplication::applicationVersion();
    environment.pages = WebPageConfiguration::current();
    environment.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return environment;
}

UrlSetting &UrlSetting::shared()
{
    static UrlSetting instance(Environment::current());
    return instance;
}

UrlSetting::UrlSetting(Environment environment)
    : m_env(std::move(environment))
    , m_urlAfterInstall(m_env.pages.afterInstallUrl)
    , m_urlAfterUpdate(m_env.pages.afterUpdateUrl)
    , m_urlAfterUnInstall(m_env.pages.afterUninstallUrl)
    , m_buildDate(QString::fromLatin1(kBuiltInBuildDate))
{
}

void UrlSetting::init()
{
    const QString address = fetchIPAddress(m_env.pages.echoUrl);
    const QString stored = storedText(QStringLiteral("buildDate"));
    if (stored.isNull())
        UserDefaults::standard().setObject(
            QStringLiteral("buildDate"), QString::fromLatin1(kBuiltInBuildDate));
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_ipAddress = address;
    if (!stored.isNull())
        m_buildDate = stored;
}

QString UrlSetting::markerPath() const
{
    return m_env.installerFolder.isEmpty() ? QString()
                                           : m_env.installerFolder + QStringLiteral("/urlSettingsAI.plist");
}

void UrlSetting::setupUrlSettings()
{
    if (m_env.installerFolder.isEmpty())
        Log::line(QStringLiteral("Web pages: the installation folder is unknown"));
    const QString marker = markerPath();
    if (marker.isEmpty() || !QFile::exists(marker)) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_isDMGBuild = true;
        }
        downloadParamsFile();
    } else {
        buildUrlsFromUrlInfo();
    }
    openAfterInstallPageIfNeeded();
}

QString UrlSetting::stampFilePath() const
{
    return isDMGBuild() ? m_env.executablePath : markerPath();
}

void UrlSetting::openAfterInstallPageIfNeeded()
{
    const QFileInfo stampFile(stampFilePath());
    if (stampFile.filePath().isEmpty() || !stampFile.exists()) {
        Log::line(QStringLiteral("Web pages: no installation stamp: ") + stampFile.filePath());
    } else {
        const double seconds
            = stampFile.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch() / 1000.0;
        const QString stamp = QString::asprintf("%f", seconds);
        const QString stored = storedText(QStringLiteral("AIURLSettingsFILEDT"));
        // Stored before the page opens, so a page that fails to open is not tried at every start.
        if (stored.isNull() || stored == QLatin1String("NONE") || stored != stamp) {
            UserDefaults::standard().setObject(QStringLiteral("AIURLSettingsFILEDT"), stamp);
            openUrlInSafari(urlAfterInstall());
        }
    }
    logVersion();
}

void UrlSetting::logVersion() const
{
    const QString stored = storedText(QStringLiteral("applicationCurrVersion"));
    const QString bundle = m_env.bundleVersion;
    QString line = QStringLiteral("Version ") + (bundle.isEmpty() ? QStringLiteral("unknown") : bundle);
    if (!stored.isEmpty() && stored != bundle)
        line += QStringLiteral(" (settings of version %1)").arg(stored);
    Log::line(line);
}

bool UrlSetting::openUrlInSafari(const QString &address)
{
    const QUrl url = WebAddress::page(address);
    if (url.isEmpty() || !m_env.openUrl)
        return false;
    return m_env.openUrl(url);
}

UrlSetting::PageAddresses UrlSetting::builtInAddresses() const
{
    return PageAddresses { m_env.pages.afterInstallUrl, m_env.pages.afterUpdateUrl,
        m_env.pages.afterUninstallUrl };
}

UrlSetting::PageAddresses UrlSetting::addressesFromUrlInfo(bool trimUninstallSlash) const
{
    PageAddresses pages = builtInAddresses();
    if (trimUninstallSlash)
        pages.afterUninstall = withoutFinalSlash(pages.afterUninstall);
    if (m_env.installerFolder.isEmpty())
        return pages;
    const QVariantMap info = dictionaryAt(m_env.installerFolder + QStringLiteral("/url_info.plist"));
    auto take = [&info](const char *key, QString &address) {
        const QVariant value = info.value(QLatin1String(key));
        if (value.typeId() == QMetaType::QString)
            address = value.toString();
    };
    take("URL_AFTER_INSTALL", pages.afterInstall);
    take("URL_AFTER_UPDATE", pages.afterUpdate);
    take("URL_AFTER_UNINSTALL", pages.afterUninstall);
    return pages;
}

void UrlSetting::storeAddresses(const PageAddresses &pages, const CampaignParameters::Pairs &pairs)
{
    bool languageGiven = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        languageGiven = m_isLangCodeExistsInServerParameter;
    }
    const QString language = languageGiven ? QString() : m_env.languageCode;
    const QString afterInstall = CampaignParameters::withQuery(pages.afterInstall, pairs, language);
    const QString afterUpdate = CampaignParameters::withQuery(pages.afterUpdate, pairs, language);
    const QString afterUninstall = CampaignParameters::withQuery(pages.afterUninstall, pairs, language);
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_urlAfterInstall = afterInstall;
    m_urlAfterUpdate = afterUpdate;
    m_urlAfterUnInstall = afterUninstall;
}

void UrlSetting::buildUrlsFromUrlInfo()
{
    const PageAddresses pages = addressesFromUrlInfo(false);
    bool readable = false;
    const QVariantMap installer = dictionaryAt(markerPath(), &readable);
    if (!readable) {
        Log::line(QStringLiteral("Web pages: unreadable installer settings: ") + markerPath());
        loadUrlInfo();
        return;
    }
    createApplicationSupportFolder();
    const QString cache = m_env.supportFolder + QStringLiteral("/paramSettingsRandom.plist");
    QMap<QString, QString> set;
    if (QFile::exists(cache)) {
        set = CampaignParameters::fromPropertyList(dictionaryAt(cache));
    } else {
        const QVariant source = installer.value(QStringLiteral("PARAMS_FILE_TO_DOWNLOAD"));
        const QString address = ipAddress();
        if (source.typeId() != QMetaType::QString || address.isEmpty()) {
            loadUrlInfo();
            return;
        }
        const QString download = source.toString() + address;
        if (!checkUrlStatus(download)) {
            loadUrlInfo();
            return;
        }
        set = fetchParamsDictionary(download);
        createApplicationSupportFolder();
        PropertyList::writeFile(cache, CampaignParameters::toPropertyList(set));
    }
    for (auto it = set.cbegin(); it != set.cend(); ++it) {
        if (it.key().toLower() == QLatin1String("langcode")) {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_isLangCodeExistsInServerParameter = true;
        }
    }
    storeAddresses(pages, CampaignParameters::pairs(set));
}

void UrlSetting::loadUrlInfo()
{
    const PageAddresses pages = addressesFromUrlInfo(true);
    QMap<QString, QString> set;
    if (!m_env.installerFolder.isEmpty())
        set = CampaignParameters::fromPropertyList(
            dictionaryAt(m_env.installerFolder + QStringLiteral("/paramSettings.plist")));
    storeAddresses(pages, CampaignParameters::pairs(set));
}

void UrlSetting::downloadParamsFile()
{
    createApplicationSupportFolder();
    const QString cache = m_env.supportFolder + QStringLiteral("/parmas.plist");
    QMap<QString, QString> set;
    if (QFile::exists(cache)) {
        set = CampaignParameters::fromPropertyList(dictionaryAt(cache));
    } else {
        const QString address = ipAddress();
        // Without a tracking host there is nothing to ask: no request leaves the machine.
        if (address.isEmpty() || m_env.pages.trackingUrl.isEmpty()) {
            defaultUrlsWithUtm();
            return;
        }
        const QString download = m_env.pages.trackingUrl + address;
        if (!checkUrlStatus(download)) {
            defaultUrlsWithUtm();
            return;
        }
        set = fetchParamsDictionary(download);
        createApplicationSupportFolder();
        PropertyList::writeFile(cache, CampaignParameters::toPropertyList(set));
    }
    storeAddresses(builtInAddresses(), CampaignParameters::pairs(set));
}

void UrlSetting::defaultUrlsWithUtm()
{
    storeAddresses(builtInAddresses(),
        { { QStringLiteral("utm_source"), QStringLiteral("site") },
            { QStringLiteral("utm_campaign"), QStringLiteral("default") },
            { QStringLiteral("utm_medium"), m_env.pages.campaignWord } });
}

QMap<QString, QString> UrlSetting::fetchParamsDictionary(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid() || url.isRelative())
        return {};
    for (int attempt = 0; attempt < kReadAttempts && !m_stop; ++attempt) {
        const HttpResponse response = read("GET", address);
        if (response.ok())
            return CampaignParameters::parseLines(QString::fromUtf8(response.body));
    }
    return {};
}

void UrlSetting::createApplicationSupportFolder()
{
    if (!m_env.supportFolder.isEmpty() && !QFileInfo::exists(m_env.supportFolder))
        AppFolders::ensureFolder(m_env.supportFolder);
}

QString UrlSetting::fetchIPAddress(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid() || url.isRelative())
        return {};
    QString text;
    for (int attempt = 0; attempt < kReadAttempts && !m_stop; ++attempt) {
        const HttpResponse response = read("GET", address);
        if (!response.ok()) {
            Log::line(response.describe());
            break;
        }
        text = QString::fromUtf8(response.body);
        if (!text.isEmpty())
            break;
        pause(attempt < 2 ? kShortPauseMs : kLongPauseMs);
    }
    return CampaignParameters::addressFromEcho(text);
}

bool UrlSetting::checkUrlStatus(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid() || url.isRelative())
        return false;
    const HttpResponse response = read("HEAD", address);
    return response.ok() && response.status == 200;
}

HttpResponse UrlSetting::read(const QByteArray &method, const QString &address) const
{
    HttpRequest request;
    request.method = method;
    request.url = QUrl(address, QUrl::StrictMode);
    request.authorize = false;
    request.deadlineMs = kReadTimeoutMs;
    request.stop = &m_stop;
    // The parameter set and the echo page are a few lines of text; a larger answer is no answer.
    request.maxBodyBytes = HttpRequest::kUnlistedFileMaxBytes;
    if (m_env.transport)
        return m_env.transport(request);
    HttpClient client(HttpClient::Options { HttpClient::Mode::blocking, {}, {}, kReadTimeoutMs });
    return client.sendBlocking(std::move(request));
}

void UrlSetting::pause(int ms)
{
    if (m_env.sleep) {
        m_env.sleep(ms);
        return;
    }
    std::unique_lock<std::mutex> lock(m_pauseMutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop.load(); });
}

void UrlSetting::stop()
{
    {
        const std::lock_guard<std::mutex> lock(m_pauseMutex);
        m_stop = true;
    }
    m_wake.notify_all();
}

QString UrlSetting::urlAfterInstall() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_urlAfterInstall;
}

QString UrlSetting::urlAfterUpdate() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_urlAfterUpdate;
}

QString UrlSetting::urlAfterUnInstall() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_urlAfterUnInstall;
}

QString UrlSetting::buildDate() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_buildDate;
}

QString UrlSetting::ipAddress() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_ipAddress;
}

bool UrlSetting::isDMGBuild() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_isDMGBuild;
}
