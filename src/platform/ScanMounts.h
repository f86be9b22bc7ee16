// The mounts one scan needs, and what they answer: the mount that holds each scanned root and its
// volume's top, the mounts below the roots with their volumes' tops, the home Trash, and the mounts
// the walk's links land on with their volumes' tops, as it meets them. No other mount is looked
// into, not even stat'ed: a share whose server has gone silent holds whoever looks at it, for good.
// Every look goes through PathLook; a root or a mount below one that does not answer in time is
// named, and the walk leaves it out instead of hanging on it.
#pragma once

#include <atomic>
#include <vector>

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/KnownTrashes.h"
#include "platform/PathLook.h"

class ScanMounts
{
public:
    // Which mounts a folder needs: a scan walks below its roots; asking whether a file lies in a
    // Trash needs only the mount holding its folder and that volume's top.
    enum class Reach { HoldingAndBelow, Holding };

    // The survey for a scan of `roots` (absolute, clean, as the walk names them) by the running
    // user, over /proc/self/mountinfo; a set `stop` ends its waits.
    static ScanMounts survey(
        const QStringList &roots, const std::atomic<bool> *stop, Reach reach = Reach::HoldingAndBelow);
    // The same over the mount table `mountInfo`, for the user `uid` with the home Trash `homeTrash`.
    static ScanMounts survey(const QStringList &roots, const QString &homeTrash, const QByteArray &mountInfo,
        uint uid, const std::atomic<bool> *stop, Reach reach = Reach::HoldingAndBelow);
    // The mounts of `all` a scan of the real folders `realRoots` needs, each once.
    static std::vector<KnownTrashes::Mount> needed(const QStringList &realRoots,
        const std::vector<KnownTrashes::Mount> &all, Reach reach = Reach::HoldingAndBelow);

    const KnownTrashes &trashes() const { return m_trashes; }
    // True when `path`, as the walk names it, is a root or a mount below one that did not answer.
    bool isNotAnswering(const QString &path) const { return m_notAnswering.contains(path); }
    // How every look of this scan is made, over the mount table it was surveyed with.
    const PathLook &look() const { return m_look; }
    // The home Trash with its links resolved; its path as written when it did not answer.
    const QString &realHomeTrash() const { return m_realHomeTrash; }
    // Surveys the mounts that the real path `real`, where a followed link lands, needs to tell
    // whether it lies in a Trash, each mount once a scan; the point of one that does not answer,
    // or empty.
    QString surveyLanding(const QString &real, const std::atomic<bool> *stop);
    // Whether the real path `real`, or `given` as written, lies in one of the Trashes known by
    // identity, looked at apart.
    PathLook::Result<bool> holds(
        const QString &real, const QString &given, const std::atomic<bool> *stop) const;
    // The same for the absolute path `path`, resolved through its links first.
    PathLook::Result<bool> holds(const QString &path, const std::atomic<bool> *stop) const;

private:
    ScanMounts(PathLook look, uint uid);
    // Looks at the tops of `mounts` for their Trashes, and at the home Trash `homeTrash` unless empty,
    // within one bound; the mounts that did not answer.
    std::vector<KnownTrashes::Mount> lookAtTops(const std::vector<KnownTrashes::Mount> &mounts,
        const QString &homeTrash, const std::atomic<bool> *stop);
    // Names the roots, or the folders below them as the walk names them, that the silent `mount` holds.
    void nameSilent(const KnownTrashes::Mount &mount, const QStringList &roots, const QStringList &realRoots);
    // The mounts of `all` that show the top of the volume `mount` shows a folder of.
    static void addWithTop(const KnownTrashes::Mount &mount, const std::vector<KnownTrashes::Mount> &all,
        std::vector<KnownTrashes::Mount> &out);
    // Names `walkPath` as not answering, in the log too.
    void notAnswering(const QString &walkPath);

    PathLook m_look;
    uint m_uid = 0;
    KnownTrashes::Look m_home;
    QString m_realHomeTrash;
    std::vector<std::pair<KnownTrashes::Mount, KnownTrashes::Look>> m_looked;
    QSet<QString> m_surveyed;
    KnownTrashes m_trashes;
    QSet<QString> m_notAnswering;
};
