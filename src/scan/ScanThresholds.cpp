#include "scan/ScanThresholds.h"

#include <array>
#include <cmath>

#include "platform/VariantNumber.h"

namespace
{

constexpr std::array<LevelThresholds, 8> kLevels { {
    { 0.85, 0.85 },
    { 0.88, 0.85 },
    { 0.90, 0.88 },
    { 0.92, 0.90 },
    { 0.94, 0.90 },
    { 0.96, 0.90 },
    { 0.98, 0.90 },
    { 0.99, 0.90 },
} };

constexpr std::array<double, 7> kGpsMetres { 1, 2, 5, 10, 20, 50, 100 };

constexpr std::array<double, 19> kTimeSeconds { 86400, 43200, 21600, 10800, 7200, 3600, 1800, 600, 300, 180,
    120, 60, 30, 10, 5, 3, 2, 1, 0 };

} // namespace

bool ScanThresholds::holdsNumber(const QVariant &value)
{
    return VariantNumber::isNumber(value);
}

int ScanThresholds::matchingLevel(const QVariant &storedValue)
{
    const double sum = holdsNumber(storedValue) ? storedValue.toDouble() - 0.001 + 1.0 : 0.999;
    if (!std::isfinite(sum))
        return 0;
    return int(std::trunc(sum));
}

std::optional<LevelThresholds> ScanThresholds::thresholdsForLevel(int level)
{
    if (level < 1 || level > int(kLevels.size()))
        return std::nullopt;
    return kLevels[size_t(level - 1)];
}

std::optional<int> ScanThresholds::bitmapSizeForIndex(int index)
{
    if (index < 0 || index > 6)
        return std::nullopt;
    return 48 + 8 * index;
}

std::optional<double> ScanThresholds::gpsDistanceForIndex(int index)
{
    if (index < 0 || index >= int(kGpsMetres.size()))
        return std::nullopt;
    return kGpsMetres[size_t(index)];
}

std::optional<double> ScanThresholds::timeIntervalForIndex(int index)
{
    if (index < 0 || index >= int(kTimeSeconds.size()))
        return std::nullopt;
    return kTimeSeconds[size_t(index)];
}
