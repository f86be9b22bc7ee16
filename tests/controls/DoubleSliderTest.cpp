// The real-valued slider in both of its modes.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "controls/DoubleSlider.h"

TEST(DoubleSlider, WholeNumberStopsClampAndRound)
{
    DoubleSlider slider;
    slider.setMinValue(1);
    slider.setMaxValue(8);
    slider.setDoubleValue(4.4);
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 4.4);
    EXPECT_EQ(slider.value(), 4);
    slider.setDoubleValue(12);
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 8);
    slider.setDoubleValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 1);
}

TEST(DoubleSlider, FineStepsMoveContinuouslyAndReportOnlyUserMoves)
{
    DoubleSlider slider;
    slider.setContinuousSteps(DoubleSlider::kFineSteps);
    slider.setMinValue(0.85);
    slider.setMaxValue(0.9999);
    QList<double> moved;
    QObject::connect(&slider, &DoubleSlider::doubleValueChanged, [&moved](double v) { moved.append(v); });
    slider.setDoubleValue(0.92);
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 0.92);
    EXPECT_TRUE(moved.isEmpty());
    EXPECT_NEAR(slider.value(), (0.92 - 0.85) / (0.9999 - 0.85) * DoubleSlider::kFineSteps, 1.0);

    slider.setValue(slider.maximum()); // as a drag to the end would
    ASSERT_EQ(moved.size(), 1);
    EXPECT_NEAR(moved.first(), 0.9999, 1e-12);
    slider.setDoubleValue(0.5);
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 0.85);
}

struct StopCase {
    double value;
    int direction;
    double next;
};

class NextStop : public ::testing::TestWithParam<StopCase>
{
};

TEST_P(NextStop, GoesToTheNeighbouringStopOrStays)
{
    const std::vector<double> stops { 0.85, 0.88, 0.9, 0.92, 0.9999 };
    const StopCase c = GetParam();
    EXPECT_DOUBLE_EQ(DoubleSlider::nextStop(stops, c.value, c.direction), c.next)
        << c.value << ' ' << c.direction;
}

INSTANTIATE_TEST_SUITE_P(Values, NextStop,
    ::testing::Values(StopCase { 0.85, 1, 0.88 }, StopCase { 0.88, -1, 0.85 }, StopCase { 0.89, 1, 0.9 },
        StopCase { 0.89, -1, 0.88 }, StopCase { 0.92 - 1e-12, 1, 0.9999 }, StopCase { 0.9999, 1, 0.9999 },
        StopCase { 0.85, -1, 0.85 }, StopCase { 0.5, 1, 0.85 }, StopCase { 1.5, -1, 0.9999 }));

TEST(DoubleSlider, ArrowKeysGoOneStopAPressAndReportIt)
{
    DoubleSlider slider;
    slider.setContinuousSteps(DoubleSlider::kFineSteps);
    slider.setMinValue(0.85);
    slider.setMaxValue(0.9999);
    slider.setDoubleValue(0.9);
    QList<double> moved;
    QObject::connect(&slider, &DoubleSlider::doubleValueChanged, [&moved](double v) { moved.append(v); });
    const auto press = [&slider](Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&slider, &event);
    };
    press(Qt::Key_Right); // the fine steps without stops
    EXPECT_NEAR(slider.doubleValue(), 0.9, 1e-4);
    slider.setDoubleValue(0.9);
    moved.clear();
    slider.setKeyStops({ 0.9999, 0.85, 0.9, 0.92 });
    for (const Qt::Key key :
        { Qt::Key_Right, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Down })
        press(key);
    EXPECT_EQ(moved, (QList<double> { 0.92, 0.9999, 0.92, 0.9, 0.85 }));
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 0.85);
}
