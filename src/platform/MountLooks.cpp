#include "platform/MountLooks.h"

#include <QDir>
#include <QFile>

#include "platform/Log.h"

MountLooks::MountLooks(const std::atomic<bool> *stop)
    : m_stop(stop)
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (table.open(QIODevice::ReadOnly))
        m_mounts = KnownTrashes::mounts(table.readAll());
}

QString MountLooks::mountOf(const QString &path) const
{
    const KnownTrashes::Mount *holder = KnownTrashes::holderOf(QDir::cleanPath(path), m_mounts);
    return holder ? holder->point : QString();
}

void MountLooks::notAnswering(const QString &mount)
{
    Log::line(QStringLiteral("Mount not answering, its files left alone: ") + mount);
    m_silent.insert(mount);
}
