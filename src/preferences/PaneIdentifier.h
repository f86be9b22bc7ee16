// The name of one preferences pane: a raw string, compared and hashed by its value (case-sensitive).
#pragma once

#include <cstddef>
#include <functional>

#include <QHash>
#include <QString>

namespace Preferences
{

class PaneIdentifier
{
public:
    PaneIdentifier() = default;
    explicit PaneIdentifier(QString rawValue)
        : m_rawValue(std::move(rawValue))
    {
    }

    const QString &rawValue() const { return m_rawValue; }

    friend bool operator==(const PaneIdentifier &a, const PaneIdentifier &b)
    {
        return a.m_rawValue == b.m_rawValue;
    }
    friend bool operator!=(const PaneIdentifier &a, const PaneIdentifier &b) { return !(a == b); }

private:
    QString m_rawValue;
};

inline size_t qHash(const PaneIdentifier &identifier, size_t seed = 0)
{
    return ::qHash(identifier.rawValue(), seed);
}

} // namespace Preferences

template <> struct std::hash<Preferences::PaneIdentifier> {
    size_t operator()(const Preferences::PaneIdentifier &identifier) const noexcept
    {
        return qHash(identifier.rawValue());
    }
};
