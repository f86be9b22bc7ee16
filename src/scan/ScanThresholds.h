// The fixed tables that turn the main window's slider positions into the numbers a scan uses.
#pragma once

#include <optional>

#include <QVariant>

struct LevelThresholds {
    double matchThreshold = 0.0;
    double minimumMatchThreshold = 0.0;
};

class ScanThresholds
{
public:
    // The grouping threshold m: the minimum of the matching slider. It must stay above 0.7, the
    // score that stands for "no match".
    static constexpr float kSliderMinValue = 0.85f;
    static constexpr double kExactMatchThreshold = 0.99;
    static constexpr int kExactBitmapSize = 80;

    // The level 1-8 of a stored slider value: the value rounded up, values up to 0.001 above a whole
    // number rounded down; 0 when the value is missing or not a number.
    static int matchingLevel(const QVariant &storedValue);
    // True when a stored setting is a number (Booleans included), as the option loading requires.
    static bool holdsNumber(const QVariant &value);
    // Thresholds of a level; none outside 1-8 (the caller then keeps its previous values).
    static std::optional<LevelThresholds> thresholdsForLevel(int level);
    // Fingerprint side N for bitmap slider index 0-6 (48 to 96 in steps of 8).
    static std::optional<int> bitmapSizeForIndex(int index);
    // GPS distance limit in metres for index 0-6.
    static std::optional<double> gpsDistanceForIndex(int index);
    // Capture-time window in seconds for index 0-18 (widest first).
    static std::optional<double> timeIntervalForIndex(int index);
};
