#include "webpages/CampaignParameters.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace
{

QString encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QMap<QString, QString> CampaignParameters::parseLines(const QString &text)
{
    QMap<QString, QString> set;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList parts = line.split(QLatin1Char('='));
        if (parts.size() == 2)
            set.insert(parts.at(0), parts.at(1).trimmed());
    }
    return set;
}

QMap<QString, QString> CampaignParameters::fromPropertyList(const QVariantMap &dictionary)
{
    QMap<QString, QString> set;
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it)
        set.insert(it.key(), it.value().toString());
    return set;
}

QVariantMap CampaignParameters::toPropertyList(const QMap<QString, QString> &set)
{
    QVariantMap dictionary;
    for (auto it = set.cbegin(); it != set.cend(); ++it)
        dictionary.insert(it.key(), it.value());
    return dictionary;
}

CampaignParameters::Pairs CampaignParameters::pairs(const QMap<QString, QString> &set)
{
    Pairs list;
    for (auto it = set.cbegin(); it != set.cend(); ++it)
        list.append({ it.key(), it.value() });
    return list;
}

QString CampaignParameters::addressFromEcho(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString candidate;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!line.contains(QLatin1Char('=')))
            candidate = line;
    }
    static const QRegularExpression addressCharacters(QStringLiteral("^[0-9a-fA-F.:]*$"));
    if (!addressCharacters.match(candidate).hasMatch())
        return {};
    return candidate.replace(QLatin1Char('.'), QLatin1Char('_'));
}

QString CampaignParameters::withQuery(const QString &address, const Pairs &pairs, const QString &languageCode)
{
    QUrl url(address.trimmed(), QUrl::StrictMode);
    if (address.trimmed().isEmpty() || !url.isValid() || url.isRelative()
        || (pairs.isEmpty() && languageCode.isEmpty()))
        return address;
    // Names and values come from downloaded text: each is encoded whole, so a "&" or "=" in them
    // can never start another pair.
    QUrlQuery query(url);
    for (const auto &pair : pairs)
        query.addQueryItem(encoded(pair.first), encoded(pair.second));
    if (!languageCode.isEmpty())
        query.addQueryItem(QStringLiteral("langcode"), encoded(languageCode));
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}
