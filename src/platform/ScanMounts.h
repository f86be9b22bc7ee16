// The mounts one scan needs, and what they answer: the mount that holds each scanned root and its
// volume's top, the mounts below the roots with their volumes' tops, and the home Trash. No other
// mount is looked into, not even stat'ed: a share whose server has gone silent holds whoever looks
// at it, for good. Each look runs apart (BoundedLook); a root or a mount below one that does not
// answer in time is named, and the walk leaves it out instead of hanging on it.
#pragma once

#include <atomic>
#include <vector>

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/KnownTrashes.h"

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

private:
    // The mounts of `all` that show the top of the volume `mount` shows a folder of.
    static void addWithTop(const KnownTrashes::Mount &mount, const std::vector<KnownTrashes::Mount> &all,
        std::vector<KnownTrashes::Mount> &out);
    // Names `walkPath` as not answering, in the log too.
    void notAnswering(const QString &walkPath);

    KnownTrashes m_trashes;
    QSet<QString> m_notAnswering;
};
