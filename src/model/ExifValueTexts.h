// English words for the coded EXIF fields of ExifInfo, as the metadata table shows them. The texts
// follow the value lists of the EXIF standard and are not localised.
#pragma once

#include <QString>

QString exifOrientationText(int orientation);
QString exifExposureModeText(const QString &value);
QString exifExposureProgramText(const QString &value);
QString exifMeteringModeText(const QString &value);
QString exifLightSourceText(const QString &value);
QString exifSensingMethodText(const QString &value);
QString exifSceneCaptureTypeText(const QString &value);
