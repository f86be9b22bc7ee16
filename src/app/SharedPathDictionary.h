// A dictionary keyed by file path that the hashing workers and the cache code share. Every access
// holds one mutex, so readers on worker threads never race a writer.
#pragma once

#include <mutex>
#include <optional>
#include <utility>

#include <QHash>
#include <QString>
#include <QStringList>

template <typename Value>
class SharedPathDictionary
{
public:
    void setValue(const QString &path, const Value &value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_map.insert(path, value);
    }
    void setValue(const QString &path, Value &&value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_map.emplace(path, std::move(value));
    }
    // Adds every entry of `entries`; an existing key takes the new value. An empty dictionary
    // takes the table whole.
    void addEntries(QHash<QString, Value> &&entries)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_map.isEmpty()) {
            m_map.swap(entries);
            return;
        }
        for (auto it = entries.begin(); it != entries.end(); ++it)
            m_map.insert(it.key(), std::move(it.value()));
    }
    std::optional<Value> value(const QString &path) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_map.constFind(path);
        if (it == m_map.cend())
            return std::nullopt;
        return it.value();
    }
    // Moves the value out and leaves an empty one under the key, so contains() still answers
    // for the path: for large values that are read once.
    std::optional<Value> takeValue(const QString &path)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_map.find(path);
        if (it == m_map.end())
            return std::nullopt;
        return std::exchange(it.value(), Value());
    }
    // Moves the value out as takeValue() does, but only when `usable` accepts it; one look-up.
    template <typename Test> std::optional<Value> takeValueIf(const QString &path, const Test &usable)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_map.find(path);
        if (it == m_map.end() || !usable(it.value()))
            return std::nullopt;
        return std::exchange(it.value(), Value());
    }
    bool contains(const QString &path) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_map.contains(path);
    }
    void remove(const QString &path)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_map.remove(path);
    }
    void clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_map.clear();
    }
    qsizetype size() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_map.size();
    }
    // A copy of the whole dictionary, for code that walks it.
    QHash<QString, Value> snapshot() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_map;
    }

private:
    mutable std::mutex m_mutex;
    QHash<QString, Value> m_map;
};
