// Groups shown when the results window opens.
#include "results/ShownGroups.h"

#include "model/DuplicatesGroup.h"
#include "results/MatchingLevel.h"
#include "scan/ScanEngine.h"

ResultState::GroupList ShownGroups::afterOpening(const QList<std::shared_ptr<DuplicatesGroup>> &scanGroups,
                                                 const ScanGlobalsSnapshot &scan)
{
    return atOpening(scanGroups, scan).groups;
}

ShownGroups::Opening ShownGroups::atOpening(const QList<std::shared_ptr<DuplicatesGroup>> &scanGroups,
                                           const ScanGlobalsSnapshot &scan)
{
    const QList<std::shared_ptr<DuplicatesGroup>> shown = ScanEngine::groupsToShow(scanGroups);
    const ResultState::GroupList handedOver(shown.begin(), shown.end());
    const MatchingSliderSetting setting = MatchingLevel::atEntry(
        scan.compareType, scan.matchThreshold, scan.minimumMatchThreshold, MatchingLevel::initialSetting());
    ResultState state;
    state.enterGroups(handedOver);
    state.applyLevel(float(setting.value));
    const bool similar = scan.compareType == GlobalObjects::CompareType::ctHash;
    if (state.arrGroups.empty() && similar && state.hasGroupsAtLevel(float(setting.minimum)))
        state.applyLevel(float(setting.minimum));
    return {state.arrGroups, state.sizeToClean};
}
