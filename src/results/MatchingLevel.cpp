// Matching slider settings at the results window's entry.
#include "results/MatchingLevel.h"

#include <cmath>

#include "scan/ScanThresholds.h"

MatchingSliderSetting MatchingLevel::initialSetting()
{
    const double minimum = ScanThresholds::kSliderMinValue;
    return {minimum, kMaximum, minimum, true};
}

double MatchingLevel::clamp(double value, double minimum, double maximum)
{
    if (!std::isfinite(value))
        return minimum;
    if (value < minimum)
        return minimum;
    return value > maximum ? maximum : value;
}

MatchingSliderSetting MatchingLevel::atEntry(GlobalObjects::CompareType compareType, double matchThreshold,
                                             double minimumMatchThreshold, const MatchingSliderSetting &current)
{
    MatchingSliderSetting setting = current;
    if (compareType == GlobalObjects::CompareType::ctHash) {
        setting.minimum = minimumMatchThreshold;
        setting.maximum = kMaximum;
        setting.visible = true;
    } else {
        setting.visible = false;
    }
    setting.value = clamp(matchThreshold, setting.minimum, setting.maximum);
    return setting;
}
