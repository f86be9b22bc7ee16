// Where the results window's matching sliders stand when the results open: a similar scan runs them
// from its minimum threshold to 0.9999 starting at its threshold; an exact scan keeps their range and
// only sets the value. Values are clamped to the range, as a slider does.
#pragma once

#include <vector>

#include "app/GlobalObjects.h"

struct MatchingSliderSetting
{
    double minimum = 0.85;
    double maximum = 0.9999;
    double value = 0.85;
    // The header slider and its caption are shown only for a similar scan.
    bool visible = true;
};

class MatchingLevel
{
public:
    static constexpr double kMaximum = 0.9999;

    // The range the sliders have before any scan (the grouping threshold up to the maximum).
    static MatchingSliderSetting initialSetting();
    static MatchingSliderSetting atEntry(GlobalObjects::CompareType compareType, double matchThreshold,
                                         double minimumMatchThreshold, const MatchingSliderSetting &current);
    static double clamp(double value, double minimum, double maximum);
    // The values the arrow keys move the sliders between: each matching level's threshold within
    // the range, and both ends of it, ascending.
    static std::vector<double> keyStops(double minimum, double maximum);
};
