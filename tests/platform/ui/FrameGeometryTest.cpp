// Bottom-left frames placed as Qt geometry.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/ui/FrameGeometry.h"

struct FrameCase {
    QRectF frame;
    double parentHeight;
    QRect geometry;
};

class FrameGeometryCases : public ::testing::TestWithParam<FrameCase>
{
};

TEST_P(FrameGeometryCases, ConvertsBothWays)
{
    const FrameCase &c = GetParam();
    EXPECT_EQ(FrameGeometry::toTopLeft(c.frame, c.parentHeight), c.geometry);
    if (c.frame.toRect() == c.frame) {
        EXPECT_EQ(FrameGeometry::toBottomLeft(c.geometry, c.parentHeight), c.frame);
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameGeometryCases,
    ::testing::Values(FrameCase { QRectF(0, 0, 100, 20), 300, QRect(0, 280, 100, 20) },
        FrameCase { QRectF(10, 250, 50, 50), 300, QRect(10, 0, 50, 50) },
        FrameCase { QRectF(20, 40, 200, 100), 140, QRect(20, 0, 200, 100) },
        // Rounded by edges: two frames that touch still touch.
        FrameCase { QRectF(0.4, 10.5, 10.4, 9.6), 100, QRect(0, 80, 11, 10) }));

TEST(FrameGeometry, PlacesChildFromItsParentsHeightAndReadsItBack)
{
    QWidget parent;
    parent.resize(400, 300);
    auto *child = new QWidget(&parent);
    FrameGeometry::setFrameFromBottomLeft(child, QRectF(30, 20, 100, 40));
    EXPECT_EQ(child->geometry(), QRect(30, 240, 100, 40));
    EXPECT_EQ(FrameGeometry::frameInBottomLeft(child), QRectF(30, 20, 100, 40));

    FrameGeometry::setFrameFromBottomLeft(child, 200, 0, 0, 10, 10);
    EXPECT_EQ(child->geometry(), QRect(0, 190, 10, 10));
    FrameGeometry::setFrameFromBottomLeft(nullptr, QRectF(0, 0, 1, 1));
}

TEST(FrameGeometry, CentresAWindowOverAnotherAndLowersItWhenAsked)
{
    QWidget main;
    main.setGeometry(100, 100, 400, 300);
    QWidget sheet;
    sheet.resize(200, 100);
    FrameGeometry::centerOver(&sheet, &main);
    EXPECT_EQ(sheet.frameGeometry().center(), main.frameGeometry().center());
    FrameGeometry::centerOver(&sheet, &main, 60);
    EXPECT_EQ(sheet.frameGeometry().center().y(), main.frameGeometry().center().y() + 60);
}
