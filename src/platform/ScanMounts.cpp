#include "platform/ScanMounts.h"

#include <unistd.h>

#include <chrono>
#include <optional>

#include <QDir>
#include <QFile>

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

ScanMounts::ScanMounts(PathLook look, uint uid)
    : m_look(std::move(look))
    , m_uid(uid)
{
}

ScanMounts ScanMounts::survey(const QStringList &roots, const QString &homeTrash, const QByteArray &mountInfo,
    uint uid, const std::atomic<bool> *stop, Reach reach)
{
    ScanMounts mounts(PathLook(KnownTrashes::mounts(mountInfo)), uid);
    // Where each root and the home Trash really are, which a link along their paths may change.
    const std::vector<PathLook::Result<PathLook::Found>> found
        = mounts.m_look.findAll(roots + QStringList { homeTrash }, stop);
    QStringList realRoots;
    for (qsizetype i = 0; i < roots.size(); ++i) {
        const PathLook::Result<PathLook::Found> &root = found[size_t(i)];
        if (!root.silentMount.isEmpty())
            mounts.notAnswering(roots[i]);
        realRoots.append(root.answer && root.answer->facts ? root.answer->real : QString());
    }
    const PathLook::Result<PathLook::Found> &home = found.back();
    mounts.m_realHomeTrash = home.answer ? home.answer->real : QDir::cleanPath(homeTrash);
    if (!home.answer && !isStopped(stop))
        Log::line(QStringLiteral("The home Trash is not answering: ") + homeTrash);
    const std::vector<Mount> needed = ScanMounts::needed(realRoots, mounts.m_look.mounts(), reach);
    for (const Mount &silent : mounts.lookAtTops(needed, home.answer ? homeTrash : QString(), stop))
        mounts.nameSilent(silent, roots, realRoots);
    return mounts;
}

std::vector<KnownTrashes::Mount> ScanMounts::lookAtTops(
    const std::vector<Mount> &mounts, const QString &homeTrash, const std::atomic<bool> *stop)
{
    std::vector<PathLook::Job<Look>> jobs;
    for (const Mount &mount : mounts) {
        m_surveyed.insert(mount.point);
        jobs.push_back({ mount.point, [point = mount.point, uid = m_uid](PathLook::Where &) {
                            return KnownTrashes::lookAtTop(point, uid);
                        } });
    }
    // A link planted in place of the home Trash names no Trash: it is looked at as written.
    if (!homeTrash.isEmpty()) {
        jobs.push_back({ m_realHomeTrash,
            [homeTrash](PathLook::Where &) { return KnownTrashes::lookAtTrash(homeTrash); } });
    }
    std::vector<PathLook::Result<Look>> looked = m_look.lookAll(std::move(jobs), stop);
    if (!homeTrash.isEmpty()) {
        if (!looked.back().answer && !isStopped(stop))
            Log::line(QStringLiteral("The home Trash is not answering: ") + homeTrash);
        m_home = looked.back().answer.value_or(Look());
        looked.pop_back();
    }
    std::vector<Mount> silent;
    for (size_t m = 0; m < mounts.size(); ++m) {
        if (looked[m].answer)
            m_looked.emplace_back(mounts[m], std::move(*looked[m].answer));
        else if (!looked[m].silentMount.isEmpty())
            silent.push_back(mounts[m]);
    }
    m_trashes = KnownTrashes::from(m_home, m_looked, m_look.mounts());
    return silent;
}

void ScanMounts::nameSilent(const Mount &mount, const QStringList &roots, const QStringList &realRoots)
{
    Log::line(QStringLiteral("Mount not answering, left out of the scan: ") + mount.point);
    for (qsizetype i = 0; i < roots.size(); ++i) {
        if (realRoots[i].isEmpty())
            continue;
        const Mount *holder = KnownTrashes::holderOf(realRoots[i], m_look.mounts());
        if (holder && holder->point == mount.point)
            notAnswering(roots[i]);
        else if (isBelow(mount.point, realRoots[i]))
            notAnswering(walkName(roots[i], realRoots[i], mount.point));
    }
}

QString ScanMounts::surveyLanding(const QString &real, const std::atomic<bool> *stop)
{
    std::vector<Mount> fresh;
    for (const Mount &mount : needed({ real }, m_look.mounts(), Reach::Holding)) {
        if (!m_surveyed.contains(mount.point))
            fresh.push_back(mount);
    }
    if (fresh.empty())
        return {};
    const std::vector<Mount> silent = lookAtTops(fresh, QString(), stop);
    return silent.empty() ? QString() : silent.front().point;
}

PathLook::Result<bool> ScanMounts::holds(
    const QString &real, const QString &given, const std::atomic<bool> *stop) const
{
    std::vector<PathLook::Job<bool>> job;
    job.push_back({ real, [trashes = m_trashes, real, given](PathLook::Where &) {
                       return trashes.heldAlong(real) || trashes.heldAlong(given);
                   } });
    return std::move(m_look.lookAll(std::move(job), stop).front());
}

PathLook::Result<bool> ScanMounts::holds(const QString &path, const std::atomic<bool> *stop) const
{
    const PathLook::Result<PathLook::Found> found = m_look.find(path, stop);
    if (!found.answer && !found.silentMount.isEmpty())
        return { std::nullopt, found.silentMount };
    return holds(found.answer ? found.answer->real : path, path, stop);
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
