// What the results window's context menu offers for the file it was opened on: the title, whether
// the item is enabled, and which way Mark/Unmark and Lock/Unlock will act. A pure function of the
// item, the clicked file, the listing and the scan source the results came from. A file whose share
// does not answer cannot be told immutable or not: only the items that keep files (Unmark, Lock)
// are offered for it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QString>

#include "app/GlobalObjects.h"

class ImageFileInfo;

class MenuValidation
{
public:
    enum class Action { None, MarkUnmark, LockUnlock, RemoveFromPhotoList, ChangeListingType, FileAction };

    struct Input {
        Action action = Action::None;
        // The clicked file; null for none (an empty click or a group's row).
        const ImageFileInfo *record = nullptr;
        bool inGrid = true;
        // The source of the results.
        ScanSource scanSource = ScanSource::thisComputer;
        // Whether the file system holds the file immutable, or nothing when that cannot be told in
        // time (its share does not answer); a bounded look when empty.
        std::function<std::optional<bool>(const QString &path)> isImmutable;
    };

    struct Result {
        // The localisation key of the title; empty leaves the title as it is.
        QString titleKey;
        bool enabled = true;
        // The direction the item will act in, when it has one: true marks (locks), false unmarks
        // (unlocks).
        std::optional<bool> flagMarkUnMark;
        std::optional<bool> flagToLockUnLock;
    };

    static Result validateMenuItem(const Input &input);

private:
    static Result validateMarkUnmark(const Input &input, std::optional<bool> immutable);
    static Result validateLockUnlock(const Input &input, std::optional<bool> immutable);
};
