// Progress ring, colours from hexadecimal text, image boxes, the dimming overlay and the
// borderless sheet window.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "controls/BlackView.h"
#include "controls/CircularProgressBarView.h"
#include "controls/CustomWindowNag.h"
#include "controls/GradientBox.h"

struct HexCase {
    const char *text;
    QColor color;
};

class ColorFromHex : public ::testing::TestWithParam<HexCase>
{
};

TEST_P(ColorFromHex, ReadsTheLeadingHexDigits)
{
    EXPECT_EQ(colorFromHex(QString::fromLatin1(GetParam().text)), GetParam().color) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ColorFromHex,
    ::testing::Values(HexCase { "2a344b", QColor(42, 52, 75) }, HexCase { "0c7eeb", QColor(12, 126, 235) },
        HexCase { "#0c7eeb", QColor(12, 126, 235) }, HexCase { "  0x0C7EEB ", QColor(12, 126, 235) },
        HexCase { "0c7eebzz", QColor(12, 126, 235) }, HexCase { "xyz", Qt::black }, HexCase { "", Qt::black },
        HexCase { "ff0c7eeb", QColor(12, 126, 235) }));

TEST(CircularProgressBarView, RadiusFollowsTheShorterSide)
{
    CircularProgressBarView ring;
    ring.resize(90, 90);
    EXPECT_DOUBLE_EQ(ring.ringRadius(), 30.0);
    EXPECT_EQ(ring.ringCenter(), QPointF(45, 45));
    ring.resize(300, 90);
    EXPECT_DOUBLE_EQ(ring.ringRadius(), 30.0);
    EXPECT_DOUBLE_EQ(ring.progress, 0.0);
}

TEST(CircularProgressBarView, ProgressMapsToAClockwiseSpanOfAtMostOneTurn)
{
    EXPECT_DOUBLE_EQ(CircularProgressBarView::arcSpanDegrees(0.0), 0.0);
    EXPECT_DOUBLE_EQ(CircularProgressBarView::arcSpanDegrees(0.25), -90.0);
    EXPECT_DOUBLE_EQ(CircularProgressBarView::arcSpanDegrees(0.5), -180.0);
    EXPECT_DOUBLE_EQ(CircularProgressBarView::arcSpanDegrees(1.0), -360.0);
    EXPECT_DOUBLE_EQ(CircularProgressBarView::arcSpanDegrees(100.0), -360.0);
    EXPECT_DOUBLE_EQ(CircularProgressBarView::arcSpanDegrees(-1.0), 0.0);
}

TEST(CircularProgressBarView, QuarterArcRunsFromThreeToSixOClock)
{
    CircularProgressBarView ring;
    ring.resize(90, 90);
    ring.progress = 0.25;
    const QImage image = ring.grab().toImage();
    const QColor blue(12, 126, 235);
    // Arc radius 35 around (45, 45): right (3 o'clock), bottom (6 o'clock) and the way between.
    EXPECT_EQ(image.pixelColor(80, 45).rgb(), blue.rgb());
    EXPECT_EQ(image.pixelColor(45, 79).rgb(), blue.rgb());
    EXPECT_EQ(image.pixelColor(70, 70).rgb(), blue.rgb());
    EXPECT_NE(image.pixelColor(45, 11).rgb(), blue.rgb());
    EXPECT_NE(image.pixelColor(11, 45).rgb(), blue.rgb());
    // The tracks: radius 45 is the view's edge, radius 25 inside.
    EXPECT_EQ(image.pixelColor(45, 20).rgb(), QColor(42, 52, 75).rgb());
    ring.progress = 100;
    EXPECT_EQ(ring.grab().toImage().pixelColor(45, 11).rgb(), blue.rgb());
}

TEST(GradientBox, DrawsOnlyOnceAllNamesAreGiven)
{
    GradientBox box;
    EXPECT_FALSE(box.drawsImages());
    EXPECT_FALSE(box.isRepeatVertically());
    box.setBackgroundImages(
        QStringLiteral("center_box_left"), std::nullopt, QStringLiteral("center_box_right"));
    EXPECT_TRUE(box.drawsImages());
    EXPECT_EQ(box.bgImage(), QString());
    EXPECT_EQ(box.bgImage_St(), QStringLiteral("center_box_left"));
    box.setBackgroundImage(std::nullopt);
    EXPECT_EQ(box.bgImage_En(), QString());
    box.setRepeatingBackgroundImage(QStringLiteral("top_sap_line_new"));
    EXPECT_TRUE(box.isRepeatVertically());
    EXPECT_EQ(box.bgImage(), box.bgImage_St());
    EXPECT_EQ(box.bgImage(), box.bgImage_En());
}

namespace
{

// The widget drawn over a canvas of `background`, without its own background.
QImage renderedOver(QWidget &widget, const QColor &background)
{
    QImage canvas(widget.size(), QImage::Format_ARGB32);
    canvas.fill(background);
    widget.render(&canvas, QPoint(), QRegion(), QWidget::RenderFlags());
    return canvas;
}

} // namespace

TEST(GradientBox, UnsetBoxPaintsNothingAndHeaderPaintsItsImages)
{
    GradientBox box;
    box.resize(200, 36);
    EXPECT_EQ(renderedOver(box, Qt::transparent).pixelColor(100, 18).alpha(), 0);
    box.setBackgroundImages(QStringLiteral("box_header_left"), QStringLiteral("box_header_mid"),
        QStringLiteral("box_header_right"));
    EXPECT_EQ(renderedOver(box, Qt::transparent).pixelColor(100, 18).alpha(), 255);
}

TEST(BlackView, DimsWhiteToMidGrey)
{
    BlackView view;
    view.resize(40, 40);
    const QColor dimmed = renderedOver(view, Qt::white).pixelColor(20, 20);
    EXPECT_NEAR(dimmed.red(), 127, 1);
    EXPECT_NEAR(dimmed.blue(), 127, 1);
}

TEST(CustomWindowNag, IsBorderlessWhateverItIsGivenAndCanTakeTheKeyboard)
{
    CustomWindowNag nag(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    EXPECT_TRUE(nag.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(nag.windowFlags().testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(nag.canBecomeKeyWindow());
    EXPECT_EQ(nag.windowModality(), Qt::WindowModal);
    nag.setWindowFlags(Qt::Window | Qt::WindowTitleHint);
    EXPECT_TRUE(nag.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(nag.windowFlags().testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(nag.isWindow());
}
