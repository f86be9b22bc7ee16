// What the comparison options show: the exact/similar boxes, the preview images of the matching
// level and the value labels of the sliders, with the scan globals each control sets.
#pragma once

#include <optional>

#include <QString>

class MainViewController;
class QLabel;

struct TimeIntervalLabel {
    int number = 0;
    QString unitKey;
};

class ComparisonOptionsView
{
public:
    static void selectComparisonMethod(MainViewController &c, bool exact);
    static void applyMatchingLevel(MainViewController &c);
    static void showBitmapSize(MainViewController &c);
    static void showGpsDistance(MainViewController &c);
    static void showTimeInterval(MainViewController &c);
    static void setupButtonStyles(MainViewController &c);
    static void restoreFromDefaults(MainViewController &c);

    // The number and unit of the capture-time label at slider index 0-18.
    static std::optional<TimeIntervalLabel> timeIntervalLabel(int index);
    // The matching level stored under "setInitialMatching" (0 when missing or not a number).
    static int matchingLevel();
    // The second preview image of a level in similar mode.
    static QString levelImageName(int level);

private:
    static void setImage(QLabel *view, const QString &name);
    static void placeRotateFlipBox(MainViewController &c, bool exact);
};
