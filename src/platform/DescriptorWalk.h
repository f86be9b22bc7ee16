// Folders reached and emptied from an open folder's descriptor, one name at a time and never through
// a symbolic link: a folder swapped for a link along the way ends the walk instead of leading it
// into a folder of someone else's (or of the user's own that is none of ours).
#pragma once

#include <QByteArray>

#include "platform/Descriptor.h"

class DescriptorWalk
{
public:
    // The folder `relative` ("a/b/c"; no ".", ".." or empty step) below the open folder `from`, each
    // step a real folder; invalid otherwise, errno saying why (ENOENT for a missing step, ELOOP or
    // ENOTDIR for a link or a file, EINVAL for a step that is no plain name).
    static Descriptor openFolder(int from, const QByteArray &relative);
    // Removes `name` from the open folder `parent`: a file or a link as it is, a folder with all it
    // holds. Nothing on another file system is entered (a mount inside stays, and so does what
    // holds it). True when nothing is left under the name.
    static bool remove(int parent, const QByteArray &name);
    // A name that stays inside the folder it is looked up in: not empty, ".", ".." nor with a "/".
    static bool isPlainName(const QByteArray &name);
};
