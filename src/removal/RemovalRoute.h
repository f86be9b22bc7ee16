// One way of removing the files of one source: the Trash for files of this computer, and later the
// cloud providers' trash and the album for library items. The removal run asks a route who a record
// is, hands it each file on a pool thread, and lets it complete what it deferred.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>

class ImageFileInfo;
class PathLook;

struct RemovalOutcome {
    // Skipped: left alone, still marked, because its group's kept copy is no longer the one scanned.
    // Gone: not removed because it is no longer where the scan found it (moved or deleted
    // elsewhere); it stays in its group, unmarked, as there is nothing left to remove.
    enum class Kind { Removed, Failed, Deferred, Skipped, Gone };
    Kind kind = Kind::Failed;
    // Why a file was not removed, for the log and the runner's report.
    QString reason;
    // The same in the user's words, for the summary after the run; empty when there are none.
    QString shown;
    // Removed: false when the file keeps another name outside the run (a hard link), so its bytes
    // stay on the disk.
    bool freesSpace = true;

    static RemovalOutcome removed(bool freesSpace = true) { return { Kind::Removed, {}, {}, freesSpace }; }
    static RemovalOutcome failed(const QString &why, const QString &shown = {})
    {
        return { Kind::Failed, why, shown };
    }
    static RemovalOutcome deferred() { return { Kind::Deferred, {}, {} }; }
    static RemovalOutcome skipped(const QString &why, const QString &shown = {})
    {
        return { Kind::Skipped, why, shown };
    }
    static RemovalOutcome gone(const QString &why, const QString &shown = {})
    {
        return { Kind::Gone, why, shown };
    }
    // A file whose look did not answer in time (a share gone silent): left in place.
    static RemovalOutcome notAnswering();
    // Why a file just moved goes back because of the copy kept for it (see removeKeeping): gone with
    // it, or not answering when looked at.
    static QString keptCopyWentWithIt();
    static QString keptCopyNotAnswering();
};

// What finish() says about one record whose remove() was Deferred.
struct RemovalReport {
    std::shared_ptr<ImageFileInfo> record;
    RemovalOutcome outcome;
};

class RemovalRoute
{
public:
    virtual ~RemovalRoute();

    // GUI thread. What makes two records one file (device and inode, or the provider's id); empty
    // when it cannot be told, for example because a local file is gone.
    virtual QString identity(const ImageFileInfo &record) const = 0;
    // Pool thread. Removes one file and answers on every path; waits on the network time out.
    virtual RemovalOutcome remove(const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop)
        = 0;
    // Pool thread. remove(), then `keptLost` says whether the copy kept for the file went with it
    // (the same file seen through another mount, or taken meanwhile); a route that can undo its
    // removal then does, and the file is not removed.
    virtual RemovalOutcome removeKeeping(const std::shared_ptr<ImageFileInfo> &record,
        const std::atomic<bool> &stop, const std::function<QString()> &keptLost);
    // Any thread: why the file of `record` must not be moved now; nothing when it may. For a route
    // whose files live on this computer the run makes this check on a thread apart, within the bound
    // a mount has to answer, and then calls removeRechecked(); other routes check in removeKeeping().
    virtual std::optional<RemovalOutcome> recheck(const ImageFileInfo &record) const;
    // Pool thread: removeKeeping() for a file whose recheck() has just found nothing against moving it.
    virtual RemovalOutcome removeRechecked(const std::shared_ptr<ImageFileInfo> &record,
        const std::atomic<bool> &stop, const std::function<QString()> &keptLost);
    // Pool thread. Why the file of `record`, a copy a group keeps, is no longer the one scanned;
    // empty when it still is, or when the route cannot tell.
    virtual QString changedSinceScan(const ImageFileInfo &record) const;
    // Pool thread, after the last file: completes what remove() deferred, one report per record.
    virtual std::vector<RemovalReport> finish(const std::atomic<bool> &stop);
    // Any thread: what the user reads of a file whose removal had begun and not answered when the run
    // ended without it: it may still go. `look` holds the mount table of the run.
    virtual QString underWayText(const ImageFileInfo &record, const PathLook &look) const;
    // True when the route's files live on this computer: a kept copy then counts only while it exists,
    // and a path reached through a symbolic link is the weaker of two records of one file.
    virtual bool isLocal() const { return false; }
};
