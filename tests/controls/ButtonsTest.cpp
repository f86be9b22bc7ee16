// Gradient-cell buttons and link buttons.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "MouseEvents.h"
#include "controls/CFMButton.h"
#include "controls/LinkButton.h"

namespace
{

QColor pixelAt(QWidget &widget, int x, int y)
{
    return widget.grab().toImage().pixelColor(x, y);
}

} // namespace

TEST(CFMButton, UnsetColoursFallBackPerState)
{
    CFMButton button;
    button.resize(100, 30);
    button.setButtonInsideColor({}, {}, {}, {}, {}, {}, 0, 0, false, false, 3);
    const CFMButtonCell &cell = button.cell();
    EXPECT_EQ(cell.getColorForButtonType(true), QColor(220, 255, 255));
    EXPECT_EQ(cell.getBorderColorEnable(), QColor(69, 162, 255));
    EXPECT_EQ(cell.getEnableButtonTextColor(), QColor(69, 162, 255));
    EXPECT_EQ(cell.getBorderColorDisable(), QColor(185, 185, 185));
    EXPECT_EQ(cell.getDisableButtonTextColor(), QColor(185, 185, 185));
    EXPECT_EQ(pixelAt(button, 50, 15), QColor(220, 255, 255));
    EXPECT_EQ(pixelAt(button, 1, 15), QColor(69, 162, 255));
    button.setEnabled(false);
    EXPECT_EQ(pixelAt(button, 1, 15), QColor(185, 185, 185));
}

TEST(CFMButton, DisabledInsideFallsBackEvenWhenTheEnabledOneIsGiven)
{
    CFMButton button;
    button.setButtonInsideColor(Qt::red, {}, {}, {}, {}, {}, 4, 12, false, true, 1);
    EXPECT_EQ(button.cell().getColorForButtonType(true), QColor(Qt::red));
    EXPECT_EQ(button.cell().getColorForButtonType(false), QColor(220, 255, 255));
    EXPECT_EQ(button.titleFont().pixelSize(), 12);
    EXPECT_EQ(button.titleFont().weight(), QFont::Bold);
}

TEST(CFMButton, ZeroOuterWidthCoversTheBorderAndPressDarkensTheTop)
{
    CFMButton button;
    button.resize(100, 30);
    button.setButtonInsideColor(QColor(200, 200, 200), {}, {}, {}, Qt::black, {}, 0, 0, false, false, 0);
    EXPECT_EQ(pixelAt(button, 0, 15), QColor(200, 200, 200));
    button.setDown(true);
    const QImage pressed = button.grab().toImage();
    // 0.1 darker at the top edge, the plain colour at the bottom.
    EXPECT_NEAR(pressed.pixelColor(50, 0).red(), 200 - 26, 2);
    EXPECT_NEAR(pressed.pixelColor(50, 29).red(), 200, 2);
}

TEST(CFMButton, RightClickIsSwallowed)
{
    QWidget parent;
    auto *button = new CFMButton(&parent);
    button->resize(80, 24);
    int presses = 0;
    QObject::connect(button, &QAbstractButton::pressed, [&] { ++presses; });
    MouseEvents::press(button, QPointF(5, 5), Qt::RightButton);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
    EXPECT_TRUE(QApplication::sendEvent(button, &menu));
    EXPECT_TRUE(menu.isAccepted());
    EXPECT_EQ(presses, 0);
}

TEST(LinkButton, PlainTitleGetsTheLinkColourAndUnderline)
{
    LinkButton link;
    link.setTitle(QStringLiteral("Scan videos"));
    EXPECT_EQ(link.titleColor(), QColor(51, 138, 218));
    EXPECT_TRUE(link.titleFont().underline());
    EXPECT_EQ(link.text(), QStringLiteral("Scan videos"));
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    link.setTitle(QString());
    EXPECT_TRUE(link.text().isEmpty());
    link.grab();
}

TEST(LinkButton, TheFocusMarkNeverTouchesTheTitle)
{
    QWidget window;
    auto *link = new LinkButton(&window);
    link->setTitle(QStringLiteral("Scan duplicate videos"), 12.0f, false, Qt::black);
    link->resize(link->sizeHint());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    link->clearFocus();
    const QImage plain = link->grab().toImage();
    link->setFocus();
    const QImage focused = link->grab().toImage();
    QRect letters;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            letters |= plain.pixel(x, y) != plain.pixel(0, 0) ? QRect(x - 1, y - 1, 3, 3) : QRect();
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            ASSERT_TRUE(plain.pixel(x, y) == focused.pixel(x, y) || !letters.contains(x, y)) << x << ',' << y;
    EXPECT_NE(plain, focused);
}

struct LinkCase {
    const char *name;
    std::function<void(LinkButton &)> set;
    QColor color;
    Qt::Alignment alignment;
    int pixelSize; // 0: unchanged
    bool bold;
};

class LinkButtonSetters : public ::testing::TestWithParam<LinkCase>
{
};

TEST_P(LinkButtonSetters, StyleTheTitle)
{
    const LinkCase &c = GetParam();
    LinkButton link;
    const QFont before = link.font();
    c.set(link);
    EXPECT_EQ(link.titleColor(), c.color) << c.name;
    EXPECT_EQ(link.titleAlignment(), c.alignment) << c.name;
    EXPECT_TRUE(link.titleFont().underline()) << c.name;
    EXPECT_EQ(link.titleFont().pixelSize(), c.pixelSize ? c.pixelSize : before.pixelSize()) << c.name;
    EXPECT_EQ(link.titleFont().bold(), c.bold) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Setters, LinkButtonSetters,
    ::testing::Values(LinkCase { "alignment", [](LinkButton &l) { l.setTitle("t", 1); }, Qt::blue,
                          Qt::AlignRight, 0, false },
        LinkCase { "right", [](LinkButton &l) { l.setTitleWithAlignment("t"); }, Qt::blue, Qt::AlignRight, 0,
            false },
        LinkCase { "right sized", [](LinkButton &l) { l.setTitleWithAlignment("t", 15.0f, true); }, Qt::blue,
            Qt::AlignRight, 15, true },
        LinkCase { "resize current", [](LinkButton &l) { l.setfontSize(11.0f, false); }, QColor(51, 138, 218),
            Qt::AlignHCenter, 11, false },
        LinkCase { "sized", [](LinkButton &l) { l.setTitle("t", 13.0f, true); }, Qt::blue, Qt::AlignHCenter,
            13, true },
        LinkCase { "no colour", [](LinkButton &l) { l.setTitle("t", 12.0f, false, QColor()); }, Qt::blue,
            Qt::AlignLeft, 12, false },
        LinkCase { "colour", [](LinkButton &l) { l.setTitle("t", 12.0f, true, Qt::white); }, Qt::white,
            Qt::AlignLeft, 12, true }));
