#include "removal/ManualMarking.h"

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "removal/MarkCounters.h"
#include "results/ResultState.h"

ManualMarking::ManualMarking(ResultState &state)
    : m_state(state)
{
}

bool ManualMarking::mark(ImageFileInfo &record, const DuplicatesGroup *group)
{
    if (record.isMark)
        return true;
    const std::shared_ptr<DuplicatesGroup> parent = record.parent.lock();
    if (!group)
        group = parent.get();
    // Without a group the rule cannot be checked, so the file is not marked.
    if (record.isLocked || !group || ResultState::isLastUnmarkedInGroup(*group))
        return false;
    MarkCounters::markAndCount(m_state, record);
    return true;
}

void ManualMarking::unmark(ImageFileInfo &record)
{
    MarkCounters::unmarkAndCount(m_state, record);
}

bool ManualMarking::toggleMark(ImageFileInfo &record, const DuplicatesGroup *group)
{
    if (record.isMark) {
        unmark(record);
        return false;
    }
    return mark(record, group);
}

void ManualMarking::lockUnLock(ImageFileInfo &record, bool lock)
{
    record.isLocked = lock;
    unmark(record);
}

void ManualMarking::btnMarkUnmarkClicked()
{
    m_state.countMarked = 0;
    m_state.sizeMarked = 0;
    m_state.countiPhotoMarked = 0;
    for (const auto &group : m_state.arrGroups) {
        for (const auto &record : group->filterChildren) {
            if (!record->isLocked)
                record->isMark = false;
        }
    }
}

bool ManualMarking::removeFromPhotoList(const std::shared_ptr<ImageFileInfo> &record)
{
    bool removed = false;
    for (const auto &group : m_state.arrGroups) {
        if (!group->filterChildren.contains(record))
            continue;
        group->children.removeOne(record);
        group->filterChildren.removeOne(record);
        removed = true;
    }
    return removed;
}
