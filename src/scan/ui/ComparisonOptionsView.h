// What the comparison options show: the exact/similar boxes, the preview images of the matching
// level and the value labels of the sliders, with the scan globals each control sets.
#pragma once

#include <optional>

#include <QString>

struct MainWindowWidgets;
struct ScanListState;
class QLabel;

struct TimeIntervalLabel {
    int number = 0;
    QString unitKey;
};

class ComparisonOptionsView
{
public:
    static void selectComparisonMethod(MainWindowWidgets &c, ScanListState &state, bool exact);
    static void applyMatchingLevel(MainWindowWidgets &c, ScanListState &state);
    static void showBitmapSize(MainWindowWidgets &c);
    static void showGpsDistance(MainWindowWidgets &c);
    static void showTimeInterval(MainWindowWidgets &c);
    static void setupButtonStyles(MainWindowWidgets &c, ScanListState &state);
    static void restoreFromDefaults(MainWindowWidgets &c, ScanListState &state);

    // The number and unit of the capture-time label at slider index 0-18.
    static std::optional<TimeIntervalLabel> timeIntervalLabel(int index);
    // The scan globals' match thresholds for the stored matching level.
    static void applyMatchingLevelThresholds();
    // The matching level stored under "setInitialMatching" (0 when missing or not a number).
    static int matchingLevel();
    // The second preview image of a level in similar mode.
    static QString levelImageName(int level);

private:
    static void setImage(QLabel *view, const QString &name);
    static void placeRotateFlipBox(MainWindowWidgets &c, bool exact);
};
