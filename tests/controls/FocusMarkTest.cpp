// The focus mark stands out from whatever lies behind it, and a sheet gives its keys back to its
// default button when an alert over it closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTest>

#include "controls/CFMButton.h"
#include "controls/ControlStyles.h"
#include "controls/CustomWindowNag.h"
#include "controls/IMGButton.h"

TEST(FocusMark, OneOfItsLinesStandsOutAtThreeToOneOnAnyBackground)
{
    const auto contrast = [](const QColor &background) {
        return std::max(ControlStyles::contrastRatio(ControlStyles::focusMarkColor(), background),
            ControlStyles::contrastRatio(ControlStyles::focusHaloColor(), background));
    };
    EXPECT_NEAR(ControlStyles::contrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    // The dark windows (where style sheets frame with the light line alone), then every colour at all.
    for (const QColor &dark :
        { QColor(0x1e, 0x26, 0x38), QColor(0x26, 0x30, 0x4a), QColor(0x2f, 0x3a, 0x55) })
        EXPECT_GE(ControlStyles::contrastRatio(ControlStyles::focusMarkColor(), dark), 3.0);
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15)
                ASSERT_GE(contrast(QColor(r, g, b)), 3.0) << r << ' ' << g << ' ' << b;
}

// The mark's line on the blue faces (of the image buttons and of Allow) stands out from them.
TEST(FocusMark, ItsLineStandsOutAtThreeToOneOnEveryBlueFace)
{
    QWidget window;
    auto *sheet = new IMGButton(&window);
    auto *allow = new CFMButton(&window);
    ControlStyles::styleSheetImageButton(sheet, "blue_btn_sm");
    ControlStyles::styleFlatButton(allow, { QColor(52, 109, 240), {}, Qt::white, {}, {}, {}, 4, 0 });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *> { sheet, allow }) {
        button->resize(100, 30);
        const QColor face = button->grab().toImage().pixelColor(50, 6);
        button->setFocus();
        EXPECT_GE(ControlStyles::contrastRatio(button->grab().toImage().pixelColor(50, 2), face), 3.0);
    }
}

TEST(CustomWindowNag, TakesTheKeysBackAtItsDefaultButtonWhenUnblocked)
{
    CustomWindowNag nag;
    auto *other = new QPushButton(&nag), *allow = new QPushButton(&nag);
    nag.setKeyButtons(allow, other);
    nag.show();
    other->setFocus();
    QEvent unblocked(QEvent::WindowUnblocked);
    QCoreApplication::sendEvent(&nag, &unblocked);
    EXPECT_EQ(nag.focusWidget(), allow);
}

TEST(CustomWindowNag, TabGoesRoundItsButtonsWithoutStoppingOnTheSheet)
{
    CustomWindowNag nag;
    auto *allow = new QPushButton(&nag);
    nag.setKeyButtons(allow, new QPushButton(&nag));
    nag.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&nag));
    for (int tab = 0; tab < 2; ++tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), allow);
}
