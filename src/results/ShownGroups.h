// The groups the results window shows right after it opens for a scan, without the window: the
// groups of two or more, filtered at the matching sliders' entry level with all file types shown,
// and, when none pass after a similar scan, the retry at the sliders' minimum. The headless runner
// prints them; they are exactly the grid's sections and items. The scan sheet ends with their space
// figure, so the sheet and the results header say the same.
#pragma once

#include <memory>

#include <QList>

#include "app/ScanGlobals.h"
#include "results/ResultState.h"

class ShownGroups
{
public:
    struct Opening {
        ResultState::GroupList groups;
        // The header's space figure: what the shown members beyond each group's first take up.
        std::uint64_t spaceToFree = 0;
    };

    static Opening atOpening(const QList<std::shared_ptr<DuplicatesGroup>> &scanGroups,
                             const ScanGlobalsSnapshot &scan);
    static ResultState::GroupList afterOpening(const QList<std::shared_ptr<DuplicatesGroup>> &scanGroups,
                                               const ScanGlobalsSnapshot &scan);
};
