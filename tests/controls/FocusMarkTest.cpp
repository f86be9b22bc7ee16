// The focus mark stands out from whatever lies behind it, and a sheet gives its keys back to its
// default button when an alert over it closes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/ControlStyles.h"
#include "controls/CustomWindowNag.h"

namespace
{

// The better of the mark's two lines against `background`.
double markContrast(const QColor &background)
{
    return std::max(ControlStyles::contrastRatio(ControlStyles::focusMarkColor(), background),
        ControlStyles::contrastRatio(ControlStyles::focusHaloColor(), background));
}

} // namespace

TEST(FocusMark, ContrastRatioRunsFromOneToTwentyOne)
{
    EXPECT_NEAR(ControlStyles::contrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ControlStyles::contrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(ControlStyles::contrastRatio(QColor(48, 140, 198), QColor(48, 140, 198)), 1.0, 1e-9);
    EXPECT_NEAR(ControlStyles::contrastRatio(QColor(118, 118, 118), Qt::white), 4.54, 0.01);
}

TEST(FocusMark, StandsOutFromTheBackgroundsItIsDrawnOn)
{
    const std::pair<const char *, QColor> backgrounds[] = {
        { "dark window", QColor(0x1e, 0x26, 0x38) },
        { "panel", QColor(0x26, 0x30, 0x4a) },
        { "dark list", QColor(0x16, 0x1c, 0x2a) },
        { "dark button", QColor(0x2f, 0x3a, 0x55) },
        { "sheet button", QColor(54, 63, 84) },
        { "blue button", QColor(52, 140, 250) },
        { "selected row", QColor(48, 140, 198) },
        { "light window", QColor(239, 239, 239) },
        { "light button", QColor(246, 246, 246) },
        { "white", Qt::white },
        { "grey button", QColor(190, 190, 190) },
    };
    for (const auto &[name, background] : backgrounds)
        EXPECT_GE(markContrast(background), 3.0) << name;
    // And on any colour at all.
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15)
                ASSERT_GE(markContrast(QColor(r, g, b)), 3.0) << r << ' ' << g << ' ' << b;
}

TEST(FocusMark, SingleLineFramesOfTheDarkWindowsStandOut)
{
    // Style sheets frame with the light line alone, only on the dark windows.
    for (const QColor &dark :
        { QColor(0x1e, 0x26, 0x38), QColor(0x26, 0x30, 0x4a), QColor(0x2f, 0x3a, 0x55) })
        EXPECT_GE(ControlStyles::contrastRatio(ControlStyles::focusMarkColor(), dark), 3.0)
            << dark.name().toStdString();
}

TEST(CustomWindowNag, TakesTheKeysBackAtItsDefaultButtonWhenUnblocked)
{
    CustomWindowNag nag;
    auto *layout = new QVBoxLayout(&nag);
    auto *other = new QPushButton(QStringLiteral("Other"));
    auto *allow = new QPushButton(QStringLiteral("Allow"));
    layout->addWidget(other);
    layout->addWidget(allow);
    nag.setKeyButtons(allow, other);
    nag.show();
    other->setFocus();
    ASSERT_EQ(nag.focusWidget(), other);
    QEvent unblocked(QEvent::WindowUnblocked);
    QCoreApplication::sendEvent(&nag, &unblocked);
    EXPECT_EQ(nag.focusWidget(), allow);
}
