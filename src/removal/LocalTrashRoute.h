// Files of this computer go to the freedesktop.org Trash. Each file is checked again just before it
// is moved, because the user or another program may have changed it since the scan.
#pragma once

#include <functional>
#include <optional>

#include "platform/FileFacts.h"
#include "removal/RemovalRoute.h"

class LocalTrashRoute : public RemovalRoute
{
public:
    // The file-system calls the route makes; tests replace them to make a file immutable or the
    // Trash fail without root rights.
    struct Probes {
        std::function<bool(const QString &)> isImmutable;
        // Moves the record's file, which must still be the file scanned, and puts it back when
        // the check given then says why; sets `why`, in the user's words, when it refuses (may
        // leave it empty).
        std::function<bool(const ImageFileInfo &, const std::function<QString()> &, QString *why)>
            moveToTrash;
    };

    LocalTrashRoute();
    explicit LocalTrashRoute(Probes probes);

    QString identity(const ImageFileInfo &record) const override;
    RemovalOutcome remove(
        const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop) override;
    RemovalOutcome removeKeeping(const std::shared_ptr<ImageFileInfo> &record, const std::atomic<bool> &stop,
        const std::function<QString()> &keptLost) override;
    RemovalOutcome removeRechecked(const std::shared_ptr<ImageFileInfo> &record,
        const std::atomic<bool> &stop, const std::function<QString()> &keptLost) override;
    bool isLocal() const override { return true; }
    // The Trash the file was going to: the home Trash, or that of the mount it lies on.
    QString underWayText(const ImageFileInfo &record, const PathLook &look) const override;

    QString changedSinceScan(const ImageFileInfo &record) const override;

    // The refusal when `record` must not be moved now (locked, gone, a link, changed); none when it
    // may.
    std::optional<RemovalOutcome> recheck(const ImageFileInfo &record) const override;
    static Probes systemProbes();
    // The system's move: the Trash takes the file only while it is the one scanned.
    static bool moveChecked(
        const ImageFileInfo &record, const std::function<QString()> &afterMove, QString *why);
    // How the file `now` differs from the one the scan saw; empty when it does not.
    static QString differences(const ImageFileInfo &record, const FileAttributes &now);
    // The same for the file as it lies in the Trash: the move itself sets a new change time, so
    // device, inode, size and modification time alone tell.
    static QString differencesAfterMove(const ImageFileInfo &record, const FileAttributes &moved);

private:
    Probes m_probes;
};
