// Groups shown when the results window opens.
#include "results/ShownGroups.h"

#include "model/DuplicatesGroup.h"
#include "results/MatchingLevel.h"

ResultState::GroupList ShownGroups::afterOpening(const QList<std::shared_ptr<DuplicatesGroup>> &scanGroups,
                                                 const ScanGlobalsSnapshot &scan)
{
    ResultState::GroupList handedOver;
    for (const auto &group : scanGroups) {
        if (group && group->children.size() >= 2)
            handedOver.push_back(group);
    }
    const MatchingSliderSetting setting = MatchingLevel::atEntry(
        scan.compareType, scan.matchThreshold, scan.minimumMatchThreshold, MatchingLevel::initialSetting());
    ResultState state;
    state.enterGroups(handedOver);
    state.applyLevel(float(setting.value));
    const bool similar = scan.compareType == GlobalObjects::CompareType::ctHash;
    if (state.arrGroups.empty() && similar && state.hasGroupsAtLevel(float(setting.minimum)))
        state.applyLevel(float(setting.minimum));
    return state.arrGroups;
}
