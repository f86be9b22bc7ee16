// Property lists (XML or binary) to and from QVariant. Types map one to one and survive a round
// trip: Bool <-> bool, integer <-> qlonglong, real <-> double, string <-> QString,
// date <-> QDateTime (UTC), data <-> QByteArray, array <-> QVariantList, dict <-> QVariantMap.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QVariant>

class PropertyList
{
public:
    // Parses XML or binary property-list bytes; nothing on malformed input, and nothing for
    // containers nested deeper than PlistNesting::kMaxDepth or a list that unfolds into more than
    // PlistNesting::kMaxNodes values.
    static std::optional<QVariant> fromBytes(const QByteArray &bytes);
    static std::optional<QVariant> readFile(const QString &path);
    static QByteArray toXml(const QVariant &value);
    // Writes XML atomically (temporary file, then rename) as a file only the user may read; false
    // when anything failed.
    static bool writeFile(const QString &path, const QVariant &value);
};
