// The focus mark stands out from whatever lies behind it, on the blue buttons too, and a sheet gives
// its keys back to its default button when an alert over it closes.
#include <gtest/gtest.h>

#include <functional>

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

// The blue buttons: the main window's and the results window's image buttons (their faces at rest
// and pressed), and the flat ones of the sign-in sheets.
TEST(FocusMark, ItsLineStandsOutAtThreeToOneOnEveryBlueFace)
{
    using Make = std::function<QAbstractButton *(QWidget *)>;
    const auto images = [](const QString &left, const QString &mid, const QString &right) -> Make {
        return [=](QWidget *parent) {
            auto *button = new IMGButton(parent);
            ControlStyles::styleSheetImageButton(button, QStringLiteral("blue_btn_sm"));
            button->setButtonsImages(left, mid, right, left, mid, right, left, mid, right);
            return button;
        };
    };
    const auto flat = [](const QColor &inside) -> Make {
        return [=](QWidget *parent) {
            auto *button = new CFMButton(parent);
            ControlStyles::styleFlatButton(
                button, { inside, Qt::gray, Qt::white, Qt::white, inside, Qt::gray, 4, 0 });
            return button;
        };
    };
    const std::pair<const char *, Make> faces[] = {
        { "scan", images("blue_left_btn", "blue_mid_btn", "blue_right_btn") },
        { "trashMarked", images("blue_left_btn_trash", "blue_mid_btn_trash", "blue_right_btn_trash") },
        { "sheet", images("blue_btn_sm_left", "blue_btn_sm_mid", "blue_btn_sm_right") },
        { "sheetPressed", images("blue_btn_sm_left_s", "blue_btn_sm_mid_s", "blue_btn_sm_right_s") },
        { "selected", images("blue_sel_btn_left", "blue_sel_btn_mid", "blue_sel_btn_right") },
        { "allow", flat(QColor(52, 109, 240)) },
        { "scanThisComputer", flat(QColor(42, 130, 249)) },
    };
    for (const auto &[name, make] : faces) {
        QWidget window;
        QAbstractButton *button = make(&window);
        button->setText(QStringLiteral("Go"));
        button->setGeometry(10, 10, 180, 36);
        window.resize(200, 56);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        button->clearFocus();
        const QImage face = button->grab().toImage();
        button->setFocus();
        const QImage marked = button->grab().toImage();
        const int w = face.width(), h = face.height();
        // Where the mark's line runs (top, left, bottom) and the face just inside it.
        const std::pair<QPoint, QPoint> places[] = { { { w / 2, 2 }, { w / 2, 6 } },
            { { 2, h / 2 }, { 6, h / 2 } }, { { w / 2, h - 3 }, { w / 2, h - 7 } } };
        for (const auto &[line, inside] : places)
            EXPECT_GE(ControlStyles::contrastRatio(marked.pixelColor(line), face.pixelColor(inside)), 3.0)
                << name << " at " << line.x() << ',' << line.y();
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
