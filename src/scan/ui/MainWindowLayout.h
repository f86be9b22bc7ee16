// The main window's layout passes as functions of the language and the controls' frames: the
// general pass that fits the add buttons, the Scan button and the date row to their titles, and
// the per-language corrections that follow it. Frames are bottom-left frames in their containers.
#pragma once

#include <functional>
#include <optional>

#include <QHash>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "app/GlobalObjects.h"

struct LayoutFont {
    double pointSize = 0.0;
    bool semibold = false;
    bool operator==(const LayoutFont &) const = default;
};

struct MainWindowGeometry {
    double viewWidth = 0.0;
    QHash<QString, QRectF> frames;
    // Only what a pass changed: the system font of a size and weight, and the visibility.
    QHash<QString, LayoutFont> fonts;
    QHash<QString, bool> hidden;

    QRectF frame(const QString &name) const { return frames.value(name); }
};

// The width a control's title needs in the given font (its own font when none): the measured text
// plus 10, at least 25.
using FitMeasure = std::function<double(const QString &control, const std::optional<LayoutFont> &font)>;

class MainWindowLayout
{
public:
    // The controls the passes read or change.
    static QStringList controls();
    // Their frames as the English interface gives them, and the main view's width.
    static MainWindowGeometry interfaceGeometry();

    static void layoutMainWindow(
        const QString &language, const FitMeasure &fit, MainWindowGeometry &geometry);
    static void adjustLayoutForWidth(const QString &language, ScanSource scanType, MainWindowGeometry &geometry);
    static void placeScanSourcePopup(const QString &language, ScanSource scanType, MainWindowGeometry &geometry);
    // The Add controls of a scan source: in the cloud modes only the folder button, in the place of
    // the photos button (widened to the left for the longer Google Drive titles); for this computer
    // the folder button back beside the library button. `addFolderHome` is its frame for this
    // computer.
    static void placeAddControls(
        const QString &language, ScanSource scanType, const QRectF &addFolderHome, MainWindowGeometry &geometry);

private:
    static void fitScanButton(const FitMeasure &fit, MainWindowGeometry &geometry);
    static void fitAddButtons(const FitMeasure &fit, MainWindowGeometry &geometry);
    static void fitDateRow(const FitMeasure &fit, MainWindowGeometry &geometry);
    static void placeDatePopUps(const FitMeasure &fit, MainWindowGeometry &geometry);
    static void adjustFonts(const QString &language, MainWindowGeometry &geometry);
};
