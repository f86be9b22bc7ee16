// English words for coded EXIF values.
#include "model/ExifValueTexts.h"

#include <map>

namespace
{

const QString kUnknownCode = QStringLiteral("---");

QString lookUp(const QString &value, const std::map<int, const char *> &table)
{
    bool ok = false;
    const int code = value.toInt(&ok, 10);
    if (!ok)
        return kUnknownCode;
    const auto it = table.find(code);
    return it == table.end() ? kUnknownCode : QString::fromUtf8(it->second);
}

} // namespace

QString exifOrientationText(int orientation)
{
    static const char *const texts[] = {
        "%i (Normal)",
        "%i (Flipped horizontally)",
        "%i (Rotated 180° CW)",
        "%i (Flipped vertically)",
        "%i (Rotated 90° CCW and flipped vertically)",
        "%i (Rotated 90° CCW)",
        "%i (Rotated 90° CW and flipped vertically)",
        "%i (Rotated 90° CW)",
    };
    if (orientation < 1 || orientation > 8)
        return QStringLiteral("--");
    return QString::fromUtf8(texts[orientation - 1])
        .replace(QLatin1String("%i"), QString::number(orientation));
}

QString exifExposureModeText(const QString &value)
{
    static const std::map<int, const char *> table { { 0, "Auto exposure" }, { 1, "Manual exposure" },
        { 2, "Auto bracket" } };
    return lookUp(value, table);
}

QString exifExposureProgramText(const QString &value)
{
    static const std::map<int, const char *> table {
        { 0, "Not defined" },
        { 1, "Manual" },
        { 2, "Normal program" },
        { 3, "Aperture priority" },
        { 4, "Shutter priority" },
        { 5, "Creative program (biased toward depth of field)" },
        { 6, "Action program (biased toward fast shutter speed)" },
        { 7, "Portrait mode (for closeup photos with the background out of focus)" },
        { 8, "Landscape mode (for landscape photos with the background in focus)" },
    };
    return lookUp(value, table);
}

QString exifMeteringModeText(const QString &value)
{
    static const std::map<int, const char *> table {
        { 0, "Unknown" },
        { 1, "Average" },
        { 2, "CenterWeightedAverage" },
        { 3, "Spot" },
        { 4, "MultiSpot" },
        { 5, "Pattern" },
        { 6, "Partial" },
        { 255, "other" },
    };
    return lookUp(value, table);
}

QString exifLightSourceText(const QString &value)
{
    static const std::map<int, const char *> table {
        { 0, "Unknown" },
        { 1, "Daylight" },
        { 2, "Fluorescent" },
        { 3, "Tungsten (incandescent light)" },
        { 4, "Flash" },
        { 9, "Fine weather" },
        { 10, "Cloudy weather" },
        { 11, "Shade" },
        { 12, "Daylight fluorescent (D 5700 - 7100K)" },
        { 13, "Day white fluorescent (N 4600 - 5400K)" },
        { 14, "Cool white fluorescent (W 3900 - 4500K)" },
        { 15, "White fluorescent (WW 3200 - 3700K)" },
        { 17, "Standard light A" },
        { 18, "Standard light B" },
        { 19, "Standard light C" },
        { 20, "D55" },
        { 21, "D65" },
        { 22, "D75" },
        { 23, "D50" },
        { 24, "ISO studio tungsten" },
        { 255, "Other light source" },
    };
    return lookUp(value, table);
}

QString exifSensingMethodText(const QString &value)
{
    static const std::map<int, const char *> table {
        { 1, "Not defined" },
        { 2, "One-chip color area sensor" },
        { 3, "Two-chip color area sensor" },
        { 4, "Three-chip color area sensor" },
        { 5, "Color sequential area sensor" },
        { 7, "Trilinear sensor" },
        { 8, "Color sequential linear sensor" },
    };
    return lookUp(value, table);
}

QString exifSceneCaptureTypeText(const QString &value)
{
    static const std::map<int, const char *> table { { 0, "Standard" }, { 1, "Landscape" }, { 2, "Portrait" },
        { 3, "Night scene" } };
    return lookUp(value, table);
}
