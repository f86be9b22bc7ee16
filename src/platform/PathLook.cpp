#include "platform/PathLook.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include <QDir>
#include <QFile>

#include "platform/Log.h"
#include "platform/PathRules.h"

namespace
{

// Links resolved for one path before it counts as a loop, as the kernel counts them.
constexpr int kMostLinks = 40;

// The mounts named as not answering, for the whole process: a scan, a check of the scan list and a
// removal all pass them over while the look left behind on them has not answered.
struct Silent {
    QString point;
    std::function<bool()> answered;
};

// Never freed: a look left behind may wake and ask while the process ends.
std::mutex &silentMutex()
{
    static std::mutex *mutex = new std::mutex;
    return *mutex;
}

std::vector<Silent> &silentMounts()
{
    static std::vector<Silent> *mounts = new std::vector<Silent>;
    return *mounts;
}

// The named mount holding `path`, at or below `holder` (the point of the mount holding it by a
// table, empty without one): a share mounted after that table was read holds what lies below its
// point. Empty when none is named; a mount whose look has answered since answers again.
QString namedHolderLocked(const QString &path, const QString &holder)
{
    std::vector<Silent> &mounts = silentMounts();
    std::erase_if(mounts, [](const Silent &s) { return s.answered(); });
    QString found;
    for (const Silent &s : mounts) {
        if (s.point.size() >= holder.size() && s.point.size() > found.size()
            && PathRules::isSameOrInside(path, s.point))
            found = s.point;
    }
    return found;
}

bool isNamedLocked(const QString &point)
{
    return namedHolderLocked(point, point) == point;
}

std::vector<KnownTrashes::Mount> processMounts()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    return KnownTrashes::mounts(table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray());
}

QString joined(const QString &folder, const QString &name)
{
    return (folder == QLatin1String("/") ? QString() : folder) + QLatin1Char('/') + name;
}

QString parentOf(const QString &real)
{
    const qsizetype slash = real.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : real.left(slash);
}

QStringList partsOf(const QString &path)
{
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

// The parts of `path` made absolute from the working folder, to be resolved from the root.
QStringList absoluteParts(const QString &path)
{
    return partsOf(QDir(QDir::currentPath()).absoluteFilePath(path));
}

// What the link `path` says, or nothing, with errno set (EINVAL for anything but a link).
std::optional<QString> linkText(const QString &path)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    if (n < 0)
        return std::nullopt;
    if (size_t(n) == sizeof buffer) {
        errno = ENAMETOOLONG;
        return std::nullopt;
    }
    return QFile::decodeName(QByteArray(buffer, n));
}

} // namespace

void PathLook::Where::set(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_path = path;
    m_lastStep = std::chrono::steady_clock::now();
}

std::chrono::steady_clock::time_point PathLook::Where::lastStep() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastStep;
}

QString PathLook::Where::get() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_path;
}

PathLook::PathLook(std::vector<Mount> mounts, MountTable now)
    : m_mounts(std::make_shared<const std::vector<Mount>>(std::move(mounts)))
    , m_now(std::move(now))
{
}

PathLook PathLook::current()
{
    return PathLook(processMounts(), &processMounts);
}

QString PathLook::silentMountOf(const QString &path, const std::vector<Mount> &mounts)
{
    std::lock_guard<std::mutex> lock(silentMutex());
    if (silentMounts().empty())
        return {};
    const Mount *holder = KnownTrashes::holderOf(path, mounts);
    return namedHolderLocked(path, holder ? holder->point : QString());
}

QString PathLook::nameNotAnswering(const QString &path, std::function<bool()> answered) const
{
    // Read again: a share mounted since this look's table was read holds the path, not the mount
    // under it, which would stand for every file there. A look has timed out, so the read is cheap
    // beside it.
    const std::vector<Mount> now = m_now ? m_now() : std::vector<Mount>();
    const Mount *holder = KnownTrashes::holderOf(path, now.empty() ? *m_mounts : now);
    // Without a mount table, only the path itself can be named.
    const QString point = holder ? holder->point : path;
    {
        std::lock_guard<std::mutex> lock(silentMutex());
        if (isNamedLocked(point))
            return point;
        silentMounts().push_back({ point, std::move(answered) });
    }
    // Outside the lock: the log's own folder may lie on that mount, and its writer asks first.
    Log::line(QStringLiteral("Mount not answering, passed over while it does not: ") + point);
    return point;
}

bool PathLook::anyNamedNotAnswering()
{
    std::lock_guard<std::mutex> lock(silentMutex());
    return !silentMounts().empty();
}

PathLook::Found PathLook::resolve(
    QString real, QStringList parts, const std::vector<Mount> &mounts, Where &where)
{
    Found found;
    int links = 0;
    while (!parts.isEmpty()) {
        const QString part = parts.takeFirst();
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            real = parentOf(real);
            continue;
        }
        const QString next = joined(real, part);
        found.silentMount = silentMountOf(next, mounts);
        if (!found.silentMount.isEmpty())
            return found;
        where.set(next);
        const std::optional<QString> text = linkText(next);
        if (!text && errno != EINVAL) {
            found.error = errno;
            found.real = QDir::cleanPath(next + QLatin1Char('/') + parts.join(QLatin1Char('/')));
            return found;
        }
        if (!text) {
            real = next;
            continue;
        }
        if (++links > kMostLinks) {
            found.error = ELOOP;
            return found;
        }
        if (text->startsWith(QLatin1Char('/')))
            real = QStringLiteral("/");
        parts = partsOf(*text) + parts;
    }
    found.real = real;
    where.set(real);
    found.facts = FileFacts::entryItselfAt(AT_FDCWD, QFile::encodeName(real).constData());
    found.error = found.facts ? 0 : errno;
    return found;
}

std::vector<PathLook::Result<PathLook::Found>> PathLook::resolveAll(
    const std::vector<std::pair<QString, QStringList>> &starts, const std::atomic<bool> *stop) const
{
    std::vector<Job<Found>> jobs;
    for (const auto &[real, parts] : starts) {
        jobs.push_back({ real, [real, parts, mounts = m_mounts](Where &where) {
                            return resolve(real, parts, *mounts, where);
                        } });
    }
    std::vector<Result<Found>> results = lookAll(std::move(jobs), stop);
    for (Result<Found> &result : results) {
        if (result.answer && !result.answer->silentMount.isEmpty()) {
            result.silentMount = result.answer->silentMount;
            result.answer.reset();
        }
    }
    return results;
}

std::vector<PathLook::Result<PathLook::Found>> PathLook::findAll(
    const QStringList &paths, const std::atomic<bool> *stop) const
{
    std::vector<std::pair<QString, QStringList>> starts;
    for (const QString &path : paths)
        starts.emplace_back(QStringLiteral("/"), absoluteParts(path));
    return resolveAll(starts, stop);
}

PathLook::Result<PathLook::Found> PathLook::find(const QString &path, const std::atomic<bool> *stop) const
{
    return std::move(findAll({ path }, stop).front());
}

PathLook::Found PathLook::findHere(const QString &path, Where &where) const
{
    return resolve(QStringLiteral("/"), absoluteParts(path), *m_mounts, where);
}

PathLook::Result<PathLook::Found> PathLook::follow(
    const QString &realFolder, const QString &target, const std::atomic<bool> *stop) const
{
    const QString from = target.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : realFolder;
    const QStringList parts = partsOf(target);
    // Read as text, a target whose ".." all come first lies where its text says: a link before a
    // ".." could lead elsewhere, but none can stand above a mount point. One on a mount named as not
    // answering is passed over without a look of its own.
    const auto up
        = std::find_if(parts.begin(), parts.end(), [](const QString &p) { return p != QLatin1String(".."); });
    if (std::find(up, parts.end(), QStringLiteral("..")) == parts.end()) {
        const QString silent = silentMountOf(QDir::cleanPath(from + QLatin1Char('/') + target));
        if (!silent.isEmpty())
            return { std::nullopt, silent };
    }
    return std::move(resolveAll({ { from, parts } }, stop).front());
}
