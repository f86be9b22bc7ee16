// The settings store: registered defaults in memory (registered at every start) and the user's
// values in an XML property list, written atomically on every change by the settings folder's queue
// (OwnFolderWrites). Types survive exactly, so callers can tell 4 from 4.0 and text from numbers.
// Safe to use from any thread.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include "platform/OwnFolderWrites.h"

class UserDefaults : public QObject
{
    Q_OBJECT
public:
    // The process-wide store, reading and writing AppFolders::settingsFilePath().
    static UserDefaults &standard();

    explicit UserDefaults(const QString &filePath, QObject *parent = nullptr);

    // Adds to the registered defaults (a key registered twice takes the newer value).
    void registerDefaults(const QVariantMap &defaults);
    QVariantMap registeredDefaults() const;

    // The user's value, else the registered default, else an invalid QVariant.
    QVariant objectForKey(const QString &key) const;
    // True when the user (not only the defaults) holds a value for `key`.
    bool hasUserValue(const QString &key) const;
    void setObject(const QString &key, const QVariant &value);
    void removeObject(const QString &key);

    // Typed reads, with the platform's conversions: a missing or unconvertible value gives
    // false / 0 / 0.0 / "" / an empty list or map.
    bool boolForKey(const QString &key) const;
    qlonglong integerForKey(const QString &key) const;
    double doubleForKey(const QString &key) const;
    QString stringForKey(const QString &key) const;
    QVariantList arrayForKey(const QString &key) const;
    QVariantMap dictionaryForKey(const QString &key) const;

    // Reloads the user's values from the file (tests and restarts).
    void reload();
    // From now on in this process the file is never written again (the uninstall removed it); the
    // values still change in memory. resetAll() and setFilePath() end this.
    void stopSaving();
    // Forgets every user value and the file (tests).
    void resetAll();
    QString filePath() const;
    // Points the store at another file and reloads (AppFolders overrides take effect here).
    void setFilePath(const QString &filePath);

signals:
    // Emitted on the thread that changed the value.
    void valueChanged(const QString &key);

private:
    void setAsideUnreadable() const;
    std::shared_ptr<OwnFolderWrites::Ticket> postSave() const;
    void finishSave(const std::shared_ptr<OwnFolderWrites::Ticket> &saving) const;
    void startSavingAnew();

    mutable std::mutex m_mutex;
    QString m_filePath;
    QVariantMap m_registered;
    QVariantMap m_values;
    // Shared with the writes queued, which a stop reaches however late they run.
    std::shared_ptr<std::atomic<bool>> m_savingStopped = std::make_shared<std::atomic<bool>>(false);
};
