// Marking by hand on the results' state: one file marked or unmarked with its counters, the check
// box toggle under the rule that a group keeps one unmarked shown file, locking, unmark-all and
// dropping a file from the results. Free of widgets; the context menu and check boxes call it.
#pragma once

#include <memory>

#include <QString>

class DuplicatesGroup;
class ImageFileInfo;
class ResultState;

class ManualMarking
{
public:
    // Why a file cannot be marked now.
    enum class Refusal { None, Locked, LastUnmarked, NoGroup };

    explicit ManualMarking(ResultState &state);

    static Refusal refusal(const ImageFileInfo &record, const DuplicatesGroup *group);
    // The text that tells the user; empty when there is nothing to tell.
    static QString refusalText(Refusal refusal);

    // Marks and counts the file unless it is marked already, locked, or the last unmarked shown
    // member of `group` (its own group when none is given). True when the file ends marked.
    bool mark(ImageFileInfo &record, const DuplicatesGroup *group = nullptr);
    void unmark(ImageFileInfo &record);
    // A check box click: a marked file is unmarked, an unmarked one marked under the rule above.
    // True when the file ends marked.
    bool toggleMark(ImageFileInfo &record, const DuplicatesGroup *group = nullptr);
    // Locks or unlocks; a marked file is unmarked and counted down either way.
    void lockUnLock(ImageFileInfo &record, bool lock);
    // Unmarks every unlocked file of the shown groups and zeroes the counters. Groups the filter
    // hides keep their marks until a recount brings them back.
    void btnMarkUnmarkClicked();
    // Takes the first occurrence of the file out of `children` and `filterChildren` of every shown
    // group that shows it. True when any group held it; the caller refilters next.
    bool removeFromPhotoList(const std::shared_ptr<ImageFileInfo> &record);

private:
    ResultState &m_state;
};
