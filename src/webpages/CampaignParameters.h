// The text rules of the web-page addresses: downloaded parameter sets, the echo page's answer, and
// the query of campaign pairs and language appended to a page address.
#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QVariantMap>

class CampaignParameters
{
public:
    using Pairs = QList<QPair<QString, QString>>;

    // "name=value" lines: exactly one "=", the name as it stands, the value trimmed; a later line
    // replaces an earlier value of the same name; other lines are ignored.
    static QMap<QString, QString> parseLines(const QString &text);
    static QMap<QString, QString> fromPropertyList(const QVariantMap &dictionary);
    static QVariantMap toPropertyList(const QMap<QString, QString> &set);
    static Pairs pairs(const QMap<QString, QString> &set);

    // The last line without "=" of the echo page's answer, "." made "_"; empty unless it holds only
    // address characters (digits, a-f, A-F, ".", ":").
    static QString addressFromEcho(const QString &text);

    // `address` with the pairs and, unless `languageCode` is empty, "langcode" appended, names and
    // values percent-encoded, joined to a query the address already has. An empty or unusable
    // address stays as it is.
    static QString withQuery(const QString &address, const Pairs &pairs, const QString &languageCode);
};
