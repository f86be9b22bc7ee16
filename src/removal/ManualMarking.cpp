#include "removal/ManualMarking.h"

#include "app/LocalizedString.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "removal/MarkCounters.h"
#include "results/ResultState.h"

ManualMarking::ManualMarking(ResultState &state)
    : m_state(state)
{
}

ManualMarking::Refusal ManualMarking::refusal(const ImageFileInfo &record, const DuplicatesGroup *group)
{
    if (record.isMark)
        return Refusal::None;
    const std::shared_ptr<DuplicatesGroup> parent = record.parent.lock();
    if (!group)
        group = parent.get();
    if (record.isLocked)
        return Refusal::Locked;
    // Without a group the rule cannot be checked, so the file is not marked.
    if (!group)
        return Refusal::NoGroup;
    return ResultState::isLastUnmarkedInGroup(*group) ? Refusal::LastUnmarked : Refusal::None;
}

QString ManualMarking::refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::Locked:
        return localizedString(QStringLiteral("ID_CANNOT_MARK_LOCKED"));
    case Refusal::LastUnmarked:
        return localizedString(QStringLiteral("ID_CANNOT_MARK_LAST_UNMARKED"));
    case Refusal::None:
    case Refusal::NoGroup:
        break;
    }
    return {};
}

bool ManualMarking::mark(ImageFileInfo &record, const DuplicatesGroup *group)
{
    if (record.isMark)
        return true;
    if (refusal(record, group) != Refusal::None)
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
