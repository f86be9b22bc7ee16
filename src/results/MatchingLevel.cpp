// Matching slider settings at the results window's entry.
#include "results/MatchingLevel.h"

#include <algorithm>
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

std::vector<double> MatchingLevel::keyStops(double minimum, double maximum)
{
    std::vector<double> stops { minimum };
    for (int level = 1; ScanThresholds::thresholdsForLevel(level); ++level) {
        const double threshold = ScanThresholds::thresholdsForLevel(level)->matchThreshold;
        if (threshold > minimum && threshold < maximum)
            stops.push_back(threshold);
    }
    if (maximum > minimum)
        stops.push_back(maximum);
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    return stops;
}
