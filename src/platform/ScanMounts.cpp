#include "platform/ScanMounts.h"

#include <unistd.h>

#include <chrono>
#include <optional>

#include <QFile>
#include <QFileInfo>

#include "platform/BoundedLook.h"
#include "platform/Log.h"
#include "platform/PathRules.h"
#include "platform/Trash.h"

namespace
{

using Mount = KnownTrashes::Mount;
using Look = KnownTrashes::Look;

bool isBelow(const QString &point, const QString &folder)
{
    return point != folder && PathRules::isSameOrInside(point, folder);
}

// The walk's name for the folder `point` below the root `root`, whose real path is `realRoot`.
QString walkName(const QString &root, const QString &realRoot, const QString &point)
{
    const QString below = realRoot == QLatin1String("/") ? point : point.mid(realRoot.size());
    return (root == QLatin1String("/") ? QString() : root) + below;
}

bool isStopped(const std::atomic<bool> *stop)
{
    return stop && stop->load();
}

} // namespace

ScanMounts ScanMounts::survey(const QStringList &roots, const std::atomic<bool> *stop, Reach reach)
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    const QByteArray mountInfo = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    return survey(roots, Trash::homeTrashFolder(), mountInfo, ::getuid(), stop, reach);
}

ScanMounts ScanMounts::survey(const QStringList &roots, const QString &homeTrash, const QByteArray &mountInfo,
    uint uid, const std::atomic<bool> *stop, Reach reach)
{
    using namespace BoundedLookTimes;
    ScanMounts mounts;
    const std::vector<Mount> all = KnownTrashes::mounts(mountInfo);
    // Where each root really is, which a link along its path may change.
    std::vector<BoundedLook<QString>> realLooks;
    for (const QString &root : roots)
        realLooks.emplace_back([root]() { return QFileInfo(root).canonicalFilePath(); });
    QStringList realRoots;
    auto deadline = std::chrono::steady_clock::now() + kNotAnsweringAfter;
    for (qsizetype i = 0; i < roots.size(); ++i) {
        const std::optional<QString> real = realLooks[size_t(i)].wait(deadline, stop);
        if (!real && !isStopped(stop))
            mounts.notAnswering(roots[i]);
        realRoots.append(real.value_or(QString()));
    }
    const std::vector<Mount> needed = ScanMounts::needed(realRoots, all, reach);
    BoundedLook<Look> home([homeTrash]() { return KnownTrashes::lookAtTrash(homeTrash); });
    std::vector<BoundedLook<Look>> looks;
    for (const Mount &mount : needed)
        looks.emplace_back([point = mount.point, uid]() { return KnownTrashes::lookAtTop(point, uid); });
    deadline = std::chrono::steady_clock::now() + kNotAnsweringAfter;
    std::vector<std::pair<Mount, Look>> looked;
    for (size_t m = 0; m < needed.size(); ++m) {
        if (std::optional<Look> look = looks[m].wait(deadline, stop)) {
            looked.emplace_back(needed[m], std::move(*look));
            continue;
        }
        if (isStopped(stop))
            continue;
        Log::line(QStringLiteral("Mount not answering, left out of the scan: ") + needed[m].point);
        for (qsizetype i = 0; i < roots.size(); ++i) {
            const Mount *holder
                = realRoots[i].isEmpty() ? nullptr : KnownTrashes::holderOf(realRoots[i], all);
            if (holder && holder->point == needed[m].point)
                mounts.notAnswering(roots[i]);
            else if (!realRoots[i].isEmpty() && isBelow(needed[m].point, realRoots[i]))
                mounts.notAnswering(walkName(roots[i], realRoots[i], needed[m].point));
        }
    }
    const std::optional<Look> homeLook = home.wait(deadline, stop);
    if (!homeLook && !isStopped(stop))
        Log::line(QStringLiteral("The home Trash is not answering: ") + homeTrash);
    mounts.m_trashes = KnownTrashes::from(homeLook.value_or(Look()), looked, all);
    return mounts;
}

std::vector<KnownTrashes::Mount> ScanMounts::needed(
    const QStringList &realRoots, const std::vector<Mount> &all, Reach reach)
{
    std::vector<Mount> out;
    for (const QString &realRoot : realRoots) {
        if (realRoot.isEmpty())
            continue;
        if (const Mount *holder = KnownTrashes::holderOf(realRoot, all))
            addWithTop(*holder, all, out);
        for (const Mount &mount : all) {
            if (reach == Reach::Holding)
                break;
            // Of mounts stacked on one point, only the last is seen there.
            if (isBelow(mount.point, realRoot) && KnownTrashes::holderOf(mount.point, all) == &mount)
                addWithTop(mount, all, out);
        }
    }
    return out;
}

void ScanMounts::addWithTop(const Mount &mount, const std::vector<Mount> &all, std::vector<Mount> &out)
{
    const auto add = [&out](const Mount &one) {
        for (const Mount &known : out) {
            if (known.point == one.point)
                return;
        }
        out.push_back(one);
    };
    add(mount);
    // The volume's Trashes lie at its top, which another mount of the same file system shows.
    for (const Mount &other : all) {
        if (other.device == mount.device && other.point != mount.point
            && PathRules::isSameOrInside(mount.root, other.root))
            add(other);
    }
}

void ScanMounts::notAnswering(const QString &walkPath)
{
    Log::line(QStringLiteral("Not answering, left out of the scan: ") + walkPath);
    m_notAnswering.insert(walkPath);
}
