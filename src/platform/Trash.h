// The freedesktop.org Trash, with the checks Qt leaves out.
#pragma once

#include <functional>

#include <QString>

#include "platform/FileFacts.h"

class PathLook;

// What one move to the Trash came to.
struct TrashMove {
    // NoTrash: no Trash of this user's alone could be had for the item's volume. PutBack: what
    // arrived in the Trash was put back where it came from, as another file had taken the item's
    // place at the move or the after-move check gave a reason (`why` tells which). NotPutBack: it
    // should have gone back for that reason but could not, and lies in the Trash at `pathInTrash`.
    // FolderLocked: the item's own folder may not be changed by this user (read-only), so nothing
    // in it can leave; the Trash is not at fault. NotAnswering: the home Trash lies on a mount that
    // does not answer (`why` names it); nothing was begun.
    enum class Result { Moved, Refused, NoTrash, PutBack, NotPutBack, FolderLocked, NotAnswering };
    Result result = Result::Refused;
    // Where the item lies in the Trash: set when Moved or NotPutBack.
    QString pathInTrash;
    // Why it was not moved (also written to the log).
    QString why;
    bool moved() const { return result == Result::Moved; }
};

class Trash
{
public:
    // Why the item looked at may not go; empty when it may.
    using Check = std::function<QString(const FileEntryFacts &item)>;
    // Why the item `moved`, as it lies in the Trash, must go back; empty when it may stay.
    using AfterMove = std::function<QString(const FileEntryFacts &moved)>;

    // Moves the item at the absolute `path` to its Trash (see TrashFolder). Moved only when the item
    // left its place and now lies inside the Trash with its info file. The item is looked at in its
    // open folder without following a link and must pass `check` when one is given; what arrived
    // in the Trash must be the file looked at, or it is put back and the move refused; so is an
    // item for which `afterMove`, given what arrived, then gives a reason.
    static TrashMove move(const QString &path, const Check &check, const AfterMove &afterMove = {});
    // move() without a check.
    static bool moveToTrash(const QString &path, QString *pathInTrash = nullptr, QString *why = nullptr);
    // True when `path` is, or lies below, a Trash folder: the home Trash ($XDG_DATA_HOME/Trash), or
    // a folder isTrashByName() names, on the path as given or with its links resolved. The links
    // are resolved apart (see PathLook): where they do not answer, the path as written tells.
    static bool isInsideTrashFolder(const QString &path);
    // The same for `path` whose links resolve to `real`, the home Trash's to `realHomeTrash`.
    // Nothing is looked at: many paths may be told against one realHomeTrash().
    static bool isInsideTrashFolder(const QString &path, const QString &real, const QString &realHomeTrash);
    // True when the folder `path` is named as a Trash of any system, in any letter case: ".Trash",
    // ".Trash-*", ".Trashes" (macOS volumes), "$RECYCLE.BIN", "RECYCLER", "RECYCLED" (Windows),
    // "#recycle", "@Recycle", ".recycle" (network storage), ".trashBin", ".globalTrash", ".RecycleBin",
    // "recycle" in a ".Gallery2" folder (phones' galleries), ".dropbox.cache" (sync services),
    // ".dtrash" (a photo manager's), or "Trash" in a ".local/share" folder (the home Trash of any
    // home) or in a sandboxed application's ".var/app/<id>/data"; and any store of old versions, snapshots or
    // generated copies that CopyStores names, which is left out alike.
    static bool isTrashByName(const QString &path);
    // True when the file name `fileName` is that of an item a phone has put in its Trash in place:
    // ".trashed-<expiry>-<name>", in any letter case.
    static bool isTrashedByName(const QString &fileName);
    // The home Trash folder ($XDG_DATA_HOME/Trash, default ~/.local/share/Trash).
    static QString homeTrashFolder();
    // The home Trash folder with its links resolved through `look`; as written when it does not answer.
    static QString realHomeTrash(const PathLook &look);
    // The point of the mount holding the home Trash when it does not answer within the bound (see
    // PathLook); empty when it answers.
    static QString homeTrashSilentMount();
    // Tests and the headless runner: `hook` runs with the path of each item after its checks, just
    // before it is moved. Set only while no move runs.
    static void setBeforeMove(std::function<void(const QString &path)> hook);
};
