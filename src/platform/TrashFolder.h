// Which Trash folder an item goes to, ready to take it: the home Trash for items on its file
// system, otherwise the Trash at the top of the item's volume (".Trash/<uid>" when the volume
// offers a shared one, else ".Trash-<uid>"). Paths are absolute, never taken from the current folder.
#pragma once

#include <optional>

#include <QString>

class TrashFolder
{
public:
    // The Trash for the item at the absolute `path`, with its "files" and "info" folders made;
    // nothing, and `why` says so, when such a Trash cannot be made or is not laid out as one.
    static std::optional<QString> forItem(const QString &path, QString *why);

private:
    static std::optional<QString> volumeTrash(const QString &path, QString *why);
    // Makes `trash` and its two folders where missing; false when one is not a folder after.
    static bool prepare(const QString &trash, QString *why);
};
