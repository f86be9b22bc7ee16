#include "scan/ui/MainWindowLayout.h"

#include <cmath>

#include "app/LocalizedString.h"
#include "scan/ui/MainWindowFrames.h"

namespace
{

// The Scan button grows by this much beyond its title when the title is short, and is centred.
constexpr double kShortScanTitle = 250.0;
constexpr double kScanButtonPadding = 150.0;
constexpr double kAddButtonPadding = 45.0;
constexpr double kAddButtonGap = 7.0;
constexpr double kDateRowGap = 5.0;
constexpr double kCheckBoxTrim = 32.0;
// Room a pop-up button needs beside its title: margins and the arrow.
constexpr double kPopUpPadding = 40.0;
// The source pop-up needs this much room beside the add buttons before it is shrunk.
constexpr double kPopupRoom = 161.0;
constexpr double kLeftPanelInset = 28.0;

void setFont(MainWindowGeometry &g, const QString &name, double size, bool semibold = false)
{
    g.fonts.insert(name, LayoutFont { size, semibold });
}

// Moves and resizes a frame by deltas (y and height kept).
void shift(MainWindowGeometry &g, const QString &name, double dx, double dw)
{
    QRectF f = g.frames.value(name);
    f.translate(dx, 0);
    f.setWidth(f.width() + dw);
    g.frames.insert(name, f);
}

void setX(MainWindowGeometry &g, const QString &name, double x)
{
    QRectF f = g.frames.value(name);
    f.moveLeft(x);
    g.frames.insert(name, f);
}

void setWidth(MainWindowGeometry &g, const QString &name, double width)
{
    QRectF f = g.frames.value(name);
    f.setWidth(width);
    g.frames.insert(name, f);
}

std::optional<LayoutFont> fontOf(const MainWindowGeometry &g, const QString &name)
{
    const auto it = g.fonts.constFind(name);
    return it == g.fonts.cend() ? std::nullopt : std::optional<LayoutFont>(*it);
}

} // namespace

QStringList MainWindowLayout::controls()
{
    return { "boxLeft", "btnCompare", "btnAddPhotos", "btnAddPhotosLib", "btnAddFolder",
        "customButtonForMenu", "btnPopupForScanSelection", "btnScanLastImport", "btnCaptureDate",
        "btnCapturePeriod", "btnToolTip", "btnExactMatch", "btnSimilarMatch", "lblAdd", "lblPleaseBePatient",
        "lblBitMapSize", "lblTimeIntervalValue", "lblGPSDistance", "lblMore", "lblLess", "lblPerformance",
        "lblQuality", "btnStopAddingPhotos" };
}

MainWindowGeometry MainWindowLayout::interfaceGeometry()
{
    MainWindowGeometry g;
    g.viewWidth = MainWindowFrames::frame(QStringLiteral("view")).width();
    for (const QString &name : controls())
        g.frames.insert(name, MainWindowFrames::frame(name));
    return g;
}

void MainWindowLayout::fitScanButton(const FitMeasure &fit, MainWindowGeometry &g)
{
    const QString name = QStringLiteral("btnCompare");
    QRectF f = g.frame(name);
    double w = fit(name, fontOf(g, name));
    if (w < kShortScanTitle) {
        w += kScanButtonPadding;
        f.moveLeft(g.viewWidth / 2.0 - w / 2.0);
    }
    f.setWidth(std::trunc(w));
    g.frames.insert(name, f);
}

void MainWindowLayout::fitAddButtons(const FitMeasure &fit, MainWindowGeometry &g)
{
    const QString photos = QStringLiteral("btnAddPhotos");
    const QString library = QStringLiteral("btnAddPhotosLib");
    const QString folder = QStringLiteral("btnAddFolder");
    const double wPhotos = fit(photos, fontOf(g, photos)) + kAddButtonPadding;
    const double wLibrary = fit(library, fontOf(g, library)) + kAddButtonPadding;
    const double wFolder = fit(folder, fontOf(g, folder)) + kAddButtonPadding;
    setWidth(g, photos, wPhotos);
    setWidth(g, library, wLibrary);
    setWidth(g, folder, wFolder);
    setX(g, library, g.frame(photos).right() + kAddButtonGap);
    setX(g, folder, g.frame(library).right() + kAddButtonGap);
}

void MainWindowLayout::fitDateRow(const FitMeasure &fit, MainWindowGeometry &g)
{
    const QString checkBox = QStringLiteral("btnScanLastImport");
    setFont(g, QStringLiteral("btnExactMatch"), 11);
    setFont(g, QStringLiteral("btnSimilarMatch"), 11);
    setFont(g, checkBox, 11);
    setWidth(g, checkBox, fit(checkBox, fontOf(g, checkBox)) + kAddButtonPadding - kCheckBoxTrim);
    setX(g, QStringLiteral("btnCaptureDate"), g.frame(checkBox).right() + kDateRowGap);
}

void MainWindowLayout::placeDatePopUps(const FitMeasure &fit, MainWindowGeometry &g)
{
    // The date-kind pop-up fits the longest of its items, whichever it shows.
    const QString dateKind = QStringLiteral("btnCaptureDate");
    setWidth(
        g, dateKind, std::max(g.frame(dateKind).width(), fit(dateKind, fontOf(g, dateKind)) + kPopUpPadding));
    setX(g, QStringLiteral("btnCapturePeriod"), g.frame(dateKind).right() + kDateRowGap);
    setX(g, QStringLiteral("btnToolTip"), g.frame(QStringLiteral("btnCapturePeriod")).right() + kDateRowGap);
}

void MainWindowLayout::layoutMainWindow(const QString &language, const FitMeasure &fit, MainWindowGeometry &g)
{
    fitScanButton(fit, g);
    if (Localization::isOneOf(language, { "ru", "es" })) {
        setFont(g, QStringLiteral("btnAddPhotos"), 12);
        setFont(g, QStringLiteral("btnAddPhotosLib"), 10);
        setFont(g, QStringLiteral("btnAddFolder"), 12);
    }
    if (language == QLatin1String("es")) {
        shift(g, QStringLiteral("btnCapturePeriod"), -10, -10);
        setFont(g, QStringLiteral("lblAdd"), 11);
    }
    fitAddButtons(fit, g);
    if (language == QLatin1String("ru")) {
        shift(g, QStringLiteral("btnCaptureDate"), 0, -15);
        shift(g, QStringLiteral("btnCapturePeriod"), -15, -15);
        shift(g, QStringLiteral("btnAddPhotos"), 0, -20);
        shift(g, QStringLiteral("btnAddPhotosLib"), -20, -50);
        shift(g, QStringLiteral("btnAddFolder"), -70, 0);
        setFont(g, QStringLiteral("lblAdd"), 10);
    }
    if (Localization::isOneOf(language, { "nl", "pt" })) {
        shift(g, QStringLiteral("btnAddPhotos"), 0, -10);
        shift(g, QStringLiteral("btnAddPhotosLib"), -10, -10);
        shift(g, QStringLiteral("btnAddFolder"), -20, 0);
    }
    if (language != QLatin1String("en"))
        fitDateRow(fit, g);
    placeDatePopUps(fit, g);
    if (language == QLatin1String("pt")) {
        setFont(g, QStringLiteral("btnSimilarMatch"), 10);
        setFont(g, QStringLiteral("lblAdd"), 10);
    }
    if (Localization::isOneOf(language, { "fr", "pt", "ja", "nb", "es", "da", "nl", "de" })) {
        setFont(g, QStringLiteral("lblPleaseBePatient"), 11);
        if (language == QLatin1String("fr"))
            setX(g, QStringLiteral("lblPleaseBePatient"), 207);
    }
    if (Localization::isOneOf(language, { "de", "da" }))
        setFont(g, QStringLiteral("lblAdd"), 11);
}

void MainWindowLayout::placeScanSourcePopup(const QString &language, ScanSource scanType, MainWindowGeometry &g)
{
    const QString popup = QStringLiteral("btnPopupForScanSelection");
    const QString library = QStringLiteral("btnAddPhotosLib");
    const double usable = g.frame(QStringLiteral("boxLeft")).width() - kLeftPanelInset;
    const double folderRight = g.frame(QStringLiteral("btnAddFolder")).right();
    const double avail = usable - folderRight;
    if (avail < kPopupRoom) {
        setFont(g, popup, 10);
        const QRectF f = g.frame(popup);
        g.frames.insert(popup, QRectF(folderRight + 1, f.y(), avail - 2, f.height()));
    }
    if (!Localization::isOneOf(language, { "ru", "fr", "de" }))
        return;
    setX(g, library, g.frame(QStringLiteral("customButtonForMenu")).right() + 10);
    setFont(g, popup, 12);
    const double libraryRight = g.frame(library).right();
    const QRectF f = g.frame(popup);
    g.frames.insert(popup, QRectF(libraryRight + 85, f.y(), usable - libraryRight - 80, f.height()));
    if (isCloudSource(scanType)) {
        g.hidden.insert(QStringLiteral("btnAddFolder"), false);
        g.hidden.insert(QStringLiteral("customButtonForMenu"), true);
    } else {
        g.hidden.insert(QStringLiteral("btnAddPhotos"), true);
        g.hidden.insert(QStringLiteral("btnAddFolder"), true);
        g.hidden.insert(QStringLiteral("customButtonForMenu"), false);
    }
}

void MainWindowLayout::placeAddControls(
    const QString &language, ScanSource scanType, const QRectF &addFolderHome, MainWindowGeometry &g)
{
    const QString folder = QStringLiteral("btnAddFolder");
    const bool cloud = isCloudSource(scanType);
    g.hidden.insert(QStringLiteral("btnAddPhotos"), cloud);
    g.hidden.insert(QStringLiteral("btnAddPhotosLib"), cloud);
    g.hidden.insert(QStringLiteral("customButtonForMenu"), true);
    g.hidden.insert(folder, false);
    if (!cloud) {
        const double libraryRight = g.frame(QStringLiteral("btnAddPhotosLib")).right();
        g.frames.insert(folder,
            QRectF(libraryRight + 8, addFolderHome.y(), addFolderHome.width(), addFolderHome.height()));
        if (Localization::isOneOf(language, { "ru", "fr", "de" })) {
            g.hidden.insert(QStringLiteral("btnAddPhotos"), true);
            g.hidden.insert(folder, true);
            g.hidden.insert(QStringLiteral("customButtonForMenu"), false);
        }
        return;
    }
    double widen = 0.0;
    if (scanType == ScanSource::googleDrive && language == QLatin1String("es"))
        widen = 10.0;
    else if (scanType == ScanSource::googleDrive && Localization::isOneOf(language, { "it", "pt", "nl" }))
        widen = 25.0;
    const double x = g.frame(QStringLiteral("btnAddPhotos")).x() - widen;
    g.frames.insert(
        folder, QRectF(x, addFolderHome.y(), addFolderHome.width() + widen, addFolderHome.height()));
}

void MainWindowLayout::adjustFonts(const QString &language, MainWindowGeometry &g)
{
    if (language == QLatin1String("fi")) {
        setFont(g, QStringLiteral("lblTimeIntervalValue"), 10, true);
        setFont(g, QStringLiteral("lblGPSDistance"), 10, true);
        setFont(g, QStringLiteral("lblBitMapSize"), 10, true);
        setFont(g, QStringLiteral("lblPleaseBePatient"), 9);
        setFont(g, QStringLiteral("lblMore"), 10);
        setFont(g, QStringLiteral("lblLess"), 10);
        setFont(g, QStringLiteral("lblAdd"), 10);
    }
    if (language == QLatin1String("ru")) {
        shift(g, QStringLiteral("lblBitMapSize"), 10, -10);
        setFont(g, QStringLiteral("lblPerformance"), 11);
        setFont(g, QStringLiteral("lblQuality"), 11);
        shift(g, QStringLiteral("btnStopAddingPhotos"), -30, 30);
        setFont(g, QStringLiteral("lblPleaseBePatient"), 9);
    }
    if (Localization::isOneOf(language, { "it", "nb" }))
        setFont(g, QStringLiteral("lblAdd"), 10);
}

void MainWindowLayout::adjustLayoutForWidth(const QString &language, ScanSource scanType, MainWindowGeometry &g)
{
    if (language != QLatin1String("en"))
        placeScanSourcePopup(language, scanType, g);
    adjustFonts(language, g);
}
