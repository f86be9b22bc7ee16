// Image button: part images and title colour per state, title fitting and the click cycle.
#include <gtest/gtest.h>

#include <QFontMetricsF>

#include "MouseEvents.h"
#include "controls/ControlFonts.h"
#include "controls/IMGButton.h"

namespace
{

// Distinct names per slot so a drawing tells which slot it used.
void setNamedImages(IMGButton &button)
{
    button.setButtonImages("onSt", "onMd", "onEn", "onDwnSt", "onDwnMd", "onDwnEn", "onDisSt", "onDisMd",
        "onDisEn", "offSt", "offMd", "offEn", "offDwnSt", "offDwnMd", "offDwnEn", "offDisSt", "offDisMd",
        "offDisEn");
}

std::unique_ptr<IMGButton> button(const QString &title, int w, int h)
{
    auto b = std::make_unique<IMGButton>();
    setNamedImages(*b);
    b->resize(w, h);
    b->setText(title);
    return b;
}

} // namespace

struct FaceCase {
    bool enabled;
    int state;
    bool pressed;
    QString startImage;
    QColor color;
};

class IMGButtonFaces : public ::testing::TestWithParam<FaceCase>
{
};

TEST_P(IMGButtonFaces, ChoosesImagesAndTitleColourByEnabledStateAndPress)
{
    const FaceCase &c = GetParam();
    auto b = button("Scan", 120, 30);
    b->setColorOnState(Qt::red);
    b->setColorOffState(Qt::green);
    b->setColorOnStateDis(Qt::blue);
    b->setColorOffStateDis(Qt::yellow);
    b->setState(c.state);
    if (c.pressed) {
        MouseEvents::press(b.get(), QPointF(5, 5));
        // The press disables the button; the owner may enable it while the press is under way.
        EXPECT_FALSE(b->isEnabled());
    }
    b->setEnabled(c.enabled);
    b->grab();
    EXPECT_EQ(b->drawnImageNames().value(0), c.startImage);
    EXPECT_EQ(b->drawnTextColor(), c.color);
}

INSTANTIATE_TEST_SUITE_P(States, IMGButtonFaces,
    ::testing::Values(FaceCase { true, 0, false, "offSt", Qt::green },
        FaceCase { true, 0, true, "offDwnSt", Qt::green }, FaceCase { true, 1, false, "onSt", Qt::red },
        FaceCase { true, 1, true, "onDwnSt", Qt::red }, FaceCase { false, 0, false, "offDisSt", Qt::yellow },
        FaceCase { false, 0, true, "offDisSt", Qt::yellow },
        FaceCase { false, 1, false, "onDisSt", Qt::blue }, FaceCase { false, 1, true, "onDisSt", Qt::blue }));

TEST(IMGButton, MixedStateKeepsThePreviousFace)
{
    auto b = button("Scan", 120, 30);
    b->setState(IMGButton::OnState);
    b->grab();
    b->setState(IMGButton::MixedState);
    b->setEnabled(false);
    b->grab();
    EXPECT_EQ(b->drawnImageNames().value(1), QStringLiteral("onMd"));
}

TEST(IMGButton, DefaultsAreThoseOfTheWindowsButtons)
{
    IMGButton b;
    EXPECT_TRUE(b.getEnableImmediately());
    EXPECT_FALSE(b.getMakeBoldFont());
    EXPECT_EQ(b.getFontSizeForButton(), 0);
    b.resize(100, 30);
    b.setText("x");
    b.grab();
    EXPECT_EQ(b.drawnTextColor(), QColor(Qt::white));
    b.setEnabled(false);
    b.grab();
    EXPECT_EQ(b.drawnTextColor(), QColor(200, 200, 200));
}

TEST(IMGButton, OneWordTitleStaysOnOneLineAndDoesNotMoveWhenPressed)
{
    auto b = button("Scan", 120, 30);
    b->grab();
    EXPECT_FALSE(b->drewTwoLines());
    const QRectF rest = b->drawnTextRect();
    MouseEvents::press(b.get(), QPointF(5, 5));
    b->grab();
    EXPECT_EQ(b->drawnTextRect(), rest);
    MouseEvents::release(b.get(), QPointF(5, 5));

    // A title that could be split follows the press by one pixel down and right.
    auto two = button("Scan Now", 300, 40);
    two->grab();
    const QRectF twoRest = two->drawnTextRect();
    MouseEvents::press(two.get(), QPointF(5, 5));
    two->grab();
    EXPECT_EQ(two->drawnTextRect(), twoRest.translated(1, 1));
}

TEST(IMGButton, FittedSizeIsTheLargestThatFitsTheMargins)
{
    auto b = button("Scan Photos", 200, 40);
    b->grab();
    const int size = b->drawnFont().pixelSize();
    ASSERT_GE(size, 4);
    const QSizeF fits
        = QFontMetricsF(size <= 18 ? ControlFonts::lucidaGrande(size) : ControlFonts::helveticaBold(size))
              .size(0, "Scan Photos");
    const int next = size + 1;
    const QSizeF tooBig
        = QFontMetricsF(next <= 18 ? ControlFonts::lucidaGrande(next) : ControlFonts::helveticaBold(next))
              .size(0, "Scan Photos");
    EXPECT_LE(fits.width(), 190);
    EXPECT_LE(fits.height(), 30);
    EXPECT_TRUE(tooBig.width() > 190 || tooBig.height() > 30);
}

TEST(IMGButton, TitleThatFitsAtTheLargestSizeUsesIt)
{
    auto b = button(".", 2000, 400);
    b->grab();
    EXPECT_EQ(b->drawnFont().pixelSize(), 50);
    // Measured with that size: the text rectangle is centred from the real height.
    const QSizeF measured = QFontMetricsF(b->drawnFont()).size(0, ".");
    EXPECT_NEAR(b->drawnTextRect().top(), 5 + (390 - measured.height()) / 2, 0.01);
}

TEST(IMGButton, TwoWordTitleInATallNarrowButtonGoesOnTwoLines)
{
    auto b = button("Start Scanning", 70, 90);
    b->grab();
    EXPECT_TRUE(b->drewTwoLines());
    EXPECT_EQ(b->drawnTitle(), QStringLiteral("Start\nScanning"));
    auto wide = button("Start Scanning", 400, 40);
    wide->grab();
    EXPECT_FALSE(wide->drewTwoLines());
    EXPECT_EQ(wide->drawnTitle(), QStringLiteral("Start Scanning"));
}

TEST(IMGButton, CappedBoldTitleThatFitsOnOneLineNeverWraps)
{
    // The main window's Scan button: bold, capped at 18, in its own frame.
    auto scan = button("Scan for Duplicates", 250, 42);
    scan->setMakeBoldFont(true);
    scan->setFontSizeForButton(18);
    scan->setMarginBottom(7);
    scan->grab();
    EXPECT_FALSE(scan->drewTwoLines());
    EXPECT_EQ(scan->drawnFont().pixelSize(), 18);
    EXPECT_EQ(scan->drawnFont().weight(), QFont::DemiBold);
    EXPECT_LE(QFontMetricsF(scan->drawnFont()).horizontalAdvance(scan->drawnTitle()), 250.0);
}

TEST(IMGButton, SplitsThreeWordsOneOverTwoAndFiveWordsTwoOverThree)
{
    auto three = button("Remove Marked Files", 90, 200);
    three->grab();
    ASSERT_TRUE(three->drewTwoLines());
    EXPECT_EQ(three->drawnTitle(), QStringLiteral("Remove\nMarked Files"));
    auto five = button("a b c d e", 30, 300);
    five->grab();
    ASSERT_TRUE(five->drewTwoLines());
    EXPECT_EQ(five->drawnTitle(), QStringLiteral("a b\nc d e"));
}

TEST(IMGButton, TitleWithALineBreakButNoSeparatorKeepsItsBreak)
{
    auto b = button("Scan\nNow", 60, 90);
    b->setMultiLineStr("_");
    b->grab();
    // The two-line layout leaves the title as it is.
    EXPECT_EQ(b->drawnTitle(), QStringLiteral("Scan\nNow"));
}

TEST(IMGButton, FontCapAndBoldFlag)
{
    auto roomy = button("Go", 300, 60);
    roomy->setFontSizeForButton(12);
    roomy->grab();
    EXPECT_EQ(roomy->drawnFont().pixelSize(), 12);
    EXPECT_EQ(roomy->drawnFont().weight(), QFont::Normal);
    roomy->setMakeBoldFont(true);
    roomy->grab();
    EXPECT_EQ(roomy->drawnFont().pixelSize(), 12);
    EXPECT_EQ(roomy->drawnFont().weight(), QFont::DemiBold);

    auto tight = button("Go", 40, 20);
    tight->setMarginTop(5);
    tight->setFontSizeForButton(12);
    tight->setMakeBoldFont(true);
    tight->grab();
    EXPECT_LT(tight->drawnFont().pixelSize(), 12);
    EXPECT_EQ(tight->drawnFont().weight(), QFont::Normal);

    auto standard = button("Go", 300, 60);
    standard->setMakeBoldFont(true);
    standard->grab();
    EXPECT_EQ(standard->drawnFont().pixelSize(), qRound(ControlFonts::standardPixelSize()));
    EXPECT_EQ(standard->drawnFont().weight(), QFont::DemiBold);
}

TEST(IMGButton, CompletedClickSendsTheActionTogglesTheStateAndReenables)
{
    auto b = button("Scan", 120, 30);
    int clicks = 0;
    QObject::connect(b.get(), &QAbstractButton::clicked, [&] { ++clicks; });
    MouseEvents::press(b.get(), QPointF(10, 10));
    EXPECT_TRUE(b->getIsMouseDown());
    EXPECT_FALSE(b->isEnabled());
    MouseEvents::release(b.get(), QPointF(120, 30)); // the far corner counts as inside
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->state(), IMGButton::OnState);
    EXPECT_TRUE(b->isEnabled());
    MouseEvents::press(b.get(), QPointF(10, 10));
    MouseEvents::release(b.get(), QPointF(10, 10));
    EXPECT_EQ(b->state(), IMGButton::OffState);
}

TEST(IMGButton, ReleaseOutsideSendsNothingButReenables)
{
    auto b = button("Scan", 120, 30);
    int clicks = 0;
    QObject::connect(b.get(), &QAbstractButton::clicked, [&] { ++clicks; });
    MouseEvents::press(b.get(), QPointF(10, 10));
    MouseEvents::release(b.get(), QPointF(130, 10));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->state(), IMGButton::OffState);
    EXPECT_TRUE(b->isEnabled());
}

TEST(IMGButton, WithoutImmediateEnableTheButtonStaysDisabledAfterItsAction)
{
    auto b = button("Scan", 120, 30);
    b->setEnableImmediately(false);
    MouseEvents::press(b.get(), QPointF(10, 10));
    MouseEvents::release(b.get(), QPointF(10, 10));
    EXPECT_FALSE(b->isEnabled());
    // A disabled button ignores presses.
    MouseEvents::press(b.get(), QPointF(10, 10));
    EXPECT_FALSE(b->getIsMouseDown());
}

TEST(IMGButton, HoverDimsOnlyAnEnabledButton)
{
    auto b = button("Scan", 120, 30);
    MouseEvents::enter(b.get());
    EXPECT_DOUBLE_EQ(b->alphaValue(), 0.8);
    MouseEvents::leave(b.get());
    EXPECT_DOUBLE_EQ(b->alphaValue(), 1.0);
    b->setEnabled(false);
    MouseEvents::enter(b.get());
    EXPECT_DOUBLE_EQ(b->alphaValue(), 1.0);
}

TEST(IMGButton, KeptLayoutFollowsTitleSizeAndMarginChanges)
{
    auto b = button("Go", 300, 60);
    b->grab();
    const int roomySize = b->drawnFont().pixelSize();
    b->grab();
    EXPECT_EQ(b->drawnFont().pixelSize(), roomySize);
    b->setText(QStringLiteral("Gogogogogogogogo"));
    b->grab();
    const int longTitleSize = b->drawnFont().pixelSize();
    EXPECT_LT(longTitleSize, roomySize);
    b->resize(120, 60);
    b->grab();
    EXPECT_LT(b->drawnFont().pixelSize(), longTitleSize);
    const int narrowSize = b->drawnFont().pixelSize();
    b->setMarginLeft(40);
    b->grab();
    EXPECT_LT(b->drawnFont().pixelSize(), narrowSize);
}
