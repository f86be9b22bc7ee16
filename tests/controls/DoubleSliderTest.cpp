// The real-valued slider in both of its modes.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include <QTest>

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

    // Arrow keys go from stop to stop, reporting each move.
    moved.clear();
    slider.setDoubleValue(0.89); // between stops
    slider.setKeyStops({ 0.9999, 0.85, 0.88, 0.9, 0.92 });
    for (const Qt::Key key : { Qt::Key_Right, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Down,
             Qt::Key_Down, Qt::Key_Down, Qt::Key_Down })
        QTest::keyClick(&slider, key);
    // Past either end a key changes nothing and reports nothing.
    EXPECT_EQ(moved, (QList<double> { 0.9, 0.92, 0.9999, 0.92, 0.9, 0.88, 0.85 }));
}
