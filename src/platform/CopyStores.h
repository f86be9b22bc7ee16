// Folders in which sync, backup and snapshot tools, self-hosted clouds, network storage and other
// programs keep copies of their own: old versions, removed files, snapshots, caches and generated
// thumbnails. A scan leaves them out as it does a Trash: a copy there is no copy the user keeps, and
// the tool prunes it on its own, so keeping it in place of the live file loses the picture.
#pragma once

#include <QString>

class CopyStores
{
public:
    // True when the folder at the clean absolute `path` is such a store, in any letter case: by
    // its name where the name is the tool's own, by where it lies where the name is a common word;
    // the user's cache folder ($XDG_CACHE_HOME) by its path as written.
    // Nothing below the folder's parent is looked at: a sibling that is a silent share or a link
    // to another disk is never touched.
    static bool isStore(const QString &path);
};
