#include "scan/ui/ComparisonOptionsView.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "controls/ControlStyles.h"
#include "controls/DoubleSlider.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/BundleImage.h"
#include "platform/ui/FrameGeometry.h"
#include "scan/ScanThresholds.h"
#include "scan/ui/MainWindowInterface.h"
#include "scan/ui/MainWindowStyles.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListState.h"

namespace
{

// Height of the rotate/flip box and its gap below the box above it, by mode.
constexpr double kExactBoxHeight = 60.0;
constexpr double kSimilarBoxHeight = 80.0;
constexpr double kBoxGap = 10.0;
constexpr int kLinkFontSize = 12;

int sliderIndex(const DoubleSlider *slider)
{
    return int(slider->doubleValue());
}

} // namespace

void ComparisonOptionsView::applyMatchingLevelThresholds()
{
    if (const std::optional<LevelThresholds> thresholds = ScanThresholds::thresholdsForLevel(matchingLevel())) {
        ScanGlobals::matchThreshold = thresholds->matchThreshold;
        ScanGlobals::minimumMatchThreshold = thresholds->minimumMatchThreshold;
    }
}

int ComparisonOptionsView::matchingLevel()
{
    // A missing or non-numeric stored level would give level 0, which no table covers; the
    // registered default level stands in for it.
    const QString key = QStringLiteral("setInitialMatching");
    const UserDefaults &defaults = UserDefaults::standard();
    const int level = ScanThresholds::matchingLevel(defaults.objectForKey(key));
    return level != 0 ? level : ScanThresholds::matchingLevel(defaults.registeredDefaults().value(key));
}

QString ComparisonOptionsView::levelImageName(int level)
{
    return QStringLiteral("campare_right_") + QString::number(level - 1);
}

std::optional<TimeIntervalLabel> ComparisonOptionsView::timeIntervalLabel(int index)
{
    static const TimeIntervalLabel labels[] = {
        { 24, "ID_HOURS_AND_LESS" },
        { 12, "ID_HOURS_AND_LESS" },
        { 6, "ID_HOURS_AND_LESS" },
        { 3, "ID_HOURS_AND_LESS" },
        { 2, "ID_HOURS_AND_LESS" },
        { 1, "ID_HOUR_AND_LESS" },
        { 30, "ID_MINUTES_AND_LESS" },
        { 10, "ID_MINUTES_AND_LESS" },
        { 5, "ID_MINUTES_AND_LESS" },
        { 3, "ID_MINUTES_AND_LESS" },
        { 2, "ID_MINUTES_AND_LESS" },
        { 1, "ID_MINUTE_AND_LESS" },
        { 30, "ID_SECONDS_AND_LESS" },
        { 10, "ID_SECONDS_AND_LESS" },
        { 5, "ID_SECONDS_AND_LESS" },
        { 3, "ID_SECONDS_AND_LESS" },
        { 2, "ID_SECONDS_AND_LESS" },
        { 1, "ID_SECOND_AND_LESS" },
        { 0, "ID_SECOND" },
    };
    if (index < 0 || index >= int(std::size(labels)))
        return std::nullopt;
    return labels[index];
}

void ComparisonOptionsView::setImage(QLabel *view, const QString &name)
{
    const BundleImage image = BundleImage::named(name);
    if (image.isNull()) {
        view->clear();
        return;
    }
    view->setPixmap(image.pixmap(view->size(), view->devicePixelRatioF()));
}

void ComparisonOptionsView::placeRotateFlipBox(MainWindowWidgets &c, bool exact)
{
    const QRectF above
        = FrameGeometry::frameInBottomLeft(exact ? c.boxComparisonMethod.data() : c.boxGPS.data());
    const double height = exact ? kExactBoxHeight : kSimilarBoxHeight;
    QRectF frame = FrameGeometry::frameInBottomLeft(c.boxRotateFlip);
    frame.setY(above.y() - height - kBoxGap);
    frame.setHeight(height);
    FrameGeometry::setFrameFromBottomLeft(c.boxRotateFlip, frame);
    MainWindowInterface::placeChildren(c.boxRotateFlip);
}

void ComparisonOptionsView::selectComparisonMethod(MainWindowWidgets &c, ScanListState &state, bool exact)
{
    c.btnExactMatch->setAutoExclusive(false);
    c.btnSimilarMatch->setAutoExclusive(false);
    c.btnExactMatch->setChecked(exact);
    c.btnSimilarMatch->setChecked(!exact);
    c.btnExactMatch->setAutoExclusive(true);
    c.btnSimilarMatch->setAutoExclusive(true);
    for (QWidget *box :
        { c.boxGPS.data(), c.boxMatchingLevel.data(), c.boxBitmapSize.data(), c.boxTimeInterval.data() })
        box->setHidden(exact);
    state.compareType = exact ? GlobalObjects::CompareType::ctMD5 : GlobalObjects::CompareType::ctHash;
    setImage(c.imgViewFirst, QStringLiteral("campare_left"));
    setImage(c.imgViewSecond, exact ? QStringLiteral("campare_left") : levelImageName(matchingLevel()));
    c.btnLinkScanVideo->setHidden(exact);
    c.btnScanVideo->setHidden(!exact);
    c.btnIncludeFlipImages->setHidden(exact);
    c.btnIncludeRotateImages->setHidden(exact);
    placeRotateFlipBox(c, exact);
    applyMatchingLevelThresholds();
}

void ComparisonOptionsView::applyMatchingLevel(MainWindowWidgets &c, ScanListState &state)
{
    applyMatchingLevelThresholds();
    const bool similar = state.compareType == GlobalObjects::CompareType::ctHash;
    setImage(c.imgViewSecond, similar ? levelImageName(matchingLevel()) : QStringLiteral("campare_left"));
}

void ComparisonOptionsView::showBitmapSize(MainWindowWidgets &c)
{
    if (const std::optional<int> size = ScanThresholds::bitmapSizeForIndex(sliderIndex(c.sliderBitMap)))
        ScanGlobals::reSizeValue = *size;
    const int size = ScanGlobals::reSizeValue.load();
    c.lblBitMapSize->setText(
        formatText(QStringLiteral("%dx%d %@"), size, size, localizedString(QStringLiteral("ID_PIXELS"))));
}

void ComparisonOptionsView::showGpsDistance(MainWindowWidgets &c)
{
    if (const std::optional<double> metres
        = ScanThresholds::gpsDistanceForIndex(sliderIndex(c.sliderGPSDistance)))
        ScanGlobals::gpsDistanceLimit = *metres;
    c.lblGPSDistance->setText(QString::number(ScanGlobals::gpsDistanceLimit.load(), 'f', 0) + QLatin1Char(' ')
        + localizedString(QStringLiteral("ID_METERS")));
}

void ComparisonOptionsView::showTimeInterval(MainWindowWidgets &c)
{
    const int index = sliderIndex(c.sliderTimeInterval);
    const std::optional<double> seconds = ScanThresholds::timeIntervalForIndex(index);
    const std::optional<TimeIntervalLabel> label = timeIntervalLabel(index);
    if (!seconds || !label)
        return;
    ScanGlobals::captureTimeInterval = *seconds;
    c.lblTimeIntervalValue->setText(
        QString::number(label->number) + QLatin1Char(' ') + localizedString(label->unitKey));
}

void ComparisonOptionsView::setupButtonStyles(MainWindowWidgets &c, ScanListState &state)
{
    const QList<std::pair<QAbstractButton *, const char *>> whiteTitles = {
        { c.btnExactMatch, "ID_EXECT_MATCH" },
        { c.btnScanLastImport, "ID_SCAN_ALL_IMAGES" },
        { c.btnIncludeRotateImages, "ID_INCLUDE_ROTATED_IMAGES" },
        { c.btnIncludeFlipImages, "ID_INCLUDE_FLIPPED_IMAGES" },
        { c.btnScanVideo, "ID_SCAN_DUPLICATE_VIDEO" },
        { c.btnSimilarMatch, "ID_SIMILAR_MATCHES" },
    };
    for (const auto &[button, key] : whiteTitles) {
        MainWindowStyles::setWhiteTitle(button, localizedString(QString::fromLatin1(key)));
        ControlStyles::styleChoiceButton(button);
    }
    MainWindowStyles::setLinkTitle(
        c.btnLinkScanVideo, localizedString(QStringLiteral("ID_SCAN_DUPLICATE_VIDEO")), kLinkFontSize, false);
    MainWindowStyles::setBackgroundImages(c.boxForHint, QStringLiteral("dot_line_left"),
        QStringLiteral("dot_line_mid"), QStringLiteral("dot_line_right"));
    MainWindowStyles::styleScanButtonImages(c.btnCompare);
    c.btnCompare->setEnabled(false);
    c.btnCompare->update();
    c.btnCompare->setState(IMGButton::OffState);
    MainWindowStyles::setBackgroundImage(c.boxFooter, QStringLiteral("footer-gradient-bg"));
    selectComparisonMethod(c, state, false);
}

void ComparisonOptionsView::restoreFromDefaults(MainWindowWidgets &c, ScanListState &state)
{
    const QVariant level = UserDefaults::standard().objectForKey(QStringLiteral("setInitialMatching"));
    c.sliderInitialMatching->setDoubleValue(
        ScanThresholds::holdsNumber(level) ? level.toDouble() : matchingLevel());
    showBitmapSize(c);
    showGpsDistance(c);
    showTimeInterval(c);
    selectComparisonMethod(c, state, false);
}
