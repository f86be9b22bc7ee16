#include "platform/UserDefaults.h"

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/OwnFolderWrites.h"
#include "platform/PropertyList.h"
#include "platform/SilentOwnFolders.h"

#include <QFile>
#include <QFileInfo>

UserDefaults &UserDefaults::standard()
{
    static auto *store = new UserDefaults(AppFolders::settingsFilePath());
    return *store;
}

UserDefaults::UserDefaults(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
{
    reload();
}

void UserDefaults::registerDefaults(const QVariantMap &defaults)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        m_registered.insert(it.key(), it.value());
}

QVariantMap UserDefaults::registeredDefaults() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_registered;
}

QVariant UserDefaults::objectForKey(const QString &key) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_values.constFind(key);
    if (it != m_values.cend())
        return it.value();
    return m_registered.value(key);
}

bool UserDefaults::hasUserValue(const QString &key) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_values.contains(key);
}

void UserDefaults::setObject(const QString &key, const QVariant &value)
{
    if (!value.isValid()) {
        removeObject(key);
        return;
    }
    std::shared_ptr<OwnFolderWrites::Ticket> saving;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_values.insert(key, value);
        saving = postSave();
    }
    finishSave(saving);
    emit valueChanged(key);
}

void UserDefaults::removeObject(const QString &key)
{
    std::shared_ptr<OwnFolderWrites::Ticket> saving;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_values.remove(key) == 0)
            return;
        saving = postSave();
    }
    finishSave(saving);
    emit valueChanged(key);
}

bool UserDefaults::boolForKey(const QString &key) const
{
    const QVariant v = objectForKey(key);
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == QLatin1String("yes") || s == QLatin1String("true") || s.toLongLong() != 0;
    }
    return v.toBool();
}

qlonglong UserDefaults::integerForKey(const QString &key) const
{
    const QVariant v = objectForKey(key);
    if (v.typeId() == QMetaType::Double)
        return qlonglong(v.toDouble());
    return v.toLongLong();
}

double UserDefaults::doubleForKey(const QString &key) const
{
    return objectForKey(key).toDouble();
}

QString UserDefaults::stringForKey(const QString &key) const
{
    const QVariant v = objectForKey(key);
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        return v.toString();
    default:
        return QString();
    }
}

QVariantList UserDefaults::arrayForKey(const QString &key) const
{
    const QVariant v = objectForKey(key);
    return v.typeId() == QMetaType::QVariantList ? v.toList() : QVariantList();
}

QVariantMap UserDefaults::dictionaryForKey(const QString &key) const
{
    const QVariant v = objectForKey(key);
    return v.typeId() == QMetaType::QVariantMap ? v.toMap() : QVariantMap();
}

void UserDefaults::reload()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_values.clear();
    // Settings on a share gone silent: the defaults apply, and the file is left alone.
    if (SilentOwnFolders::holds(m_filePath))
        return;
    if (!QFileInfo(m_filePath).exists() && !QFileInfo(m_filePath).isSymLink())
        return;
    const std::optional<QVariant> stored = PropertyList::readFile(m_filePath);
    if (stored && stored->typeId() == QMetaType::QVariantMap) {
        m_values = stored->toMap();
        return;
    }
    setAsideUnreadable();
}

// A settings file that cannot be read would fail at every start; it is kept for the user to look
// at, out of the way, and the defaults apply.
void UserDefaults::setAsideUnreadable() const
{
    const QString aside = m_filePath + QStringLiteral(".unusable");
    QFile::remove(aside);
    const bool moved = QFile::rename(m_filePath, aside);
    Log::line(moved ? QStringLiteral("Settings %1 could not be read; moved it to %2, the defaults apply")
                          .arg(m_filePath, aside)
                    : QStringLiteral("Settings %1 could not be read; the defaults apply").arg(m_filePath));
}

void UserDefaults::stopSaving()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_savingStopped->store(true);
}

void UserDefaults::resetAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    startSavingAnew();
    m_values.clear();
    m_registered.clear();
    if (!SilentOwnFolders::holds(m_filePath))
        QFile::remove(m_filePath);
}

QString UserDefaults::filePath() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_filePath;
}

void UserDefaults::setFilePath(const QString &filePath)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_filePath = filePath;
        startSavingAnew();
    }
    reload();
}

// Queued under the store's lock, so that the writes come in the order of the changes; each writes
// every value. While the settings folder does not answer, only the last is kept, and written once
// it answers; the values hold in memory meanwhile.
std::shared_ptr<OwnFolderWrites::Ticket> UserDefaults::postSave() const
{
    if (m_savingStopped->load())
        return nullptr;
    const QString path = m_filePath;
    // A write kept while the folder is silent is made later only if saving was not stopped (by an
    // uninstall, say) in between.
    return OwnFolderWrites::post(
        path,
        [path, values = m_values, stopped = m_savingStopped]() {
            return stopped->load() || PropertyList::writeFile(path, values);
        },
        OwnFolderWrites::WhileSilent::KeepLatest, path);
}

// Holding the lock: the writes still kept for the file are not made, and saving goes on from now.
void UserDefaults::startSavingAnew()
{
    m_savingStopped->store(true);
    m_savingStopped = std::make_shared<std::atomic<bool>>(false);
}

// Waits for a write the caller queued, only while the settings folder answers.
void UserDefaults::finishSave(const std::shared_ptr<OwnFolderWrites::Ticket> &saving) const
{
    if (!saving || OwnFolderWrites::wait(saving))
        return;
    const QString path = filePath();
    Log::line(SilentOwnFolders::holds(path)
            ? QStringLiteral("Settings are kept in memory until their folder answers: ") + path
            : QStringLiteral("Settings could not be written to ") + path);
}
