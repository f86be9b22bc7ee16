// The Tab stops of the dark windows that draw their own focus: the mark is there, in the focus
// colour at the widget's edge, only while the widget has the focus.
#include <functional>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <QVBoxLayout>

#include "controls/ControlStyles.h"
#include "controls/CustomTableView.h"
#include "controls/DoubleSlider.h"

namespace
{

struct FocusStop {
    const char *name;
    std::function<QWidget *()> make;
    // The widget the mark is drawn on (a list draws it on its viewport).
    std::function<QWidget *(QWidget *)> surface;
};

void PrintTo(const FocusStop &value, std::ostream *out)
{
    *out << value.name;
}

class FocusMarkTest : public ::testing::TestWithParam<FocusStop>
{
};

QColor leftEdge(QWidget *surface)
{
    return surface->grab().toImage().pixelColor(1, surface->height() / 2);
}

TEST_P(FocusMarkTest, ShowsOnlyWithTheFocus)
{
    QWidget window;
    ControlStyles::applyWindowPalette(&window);
    auto *layout = new QVBoxLayout(&window);
    QWidget *stop = GetParam().make();
    auto *other = new QCheckBox(QStringLiteral("other"));
    layout->addWidget(stop);
    layout->addWidget(other);
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget *surface = GetParam().surface(stop);

    other->setFocus();
    EXPECT_NE(leftEdge(surface), ControlStyles::focusMarkColor());
    stop->setFocus();
    ASSERT_TRUE(stop->hasFocus());
    EXPECT_EQ(leftEdge(surface), ControlStyles::focusMarkColor());
}

QWidget *itself(QWidget *widget)
{
    return widget;
}

INSTANTIATE_TEST_SUITE_P(Stops, FocusMarkTest,
    ::testing::Values(FocusStop { "Slider", [] { return new DoubleSlider; }, itself },
        FocusStop { "CheckBox",
            [] {
                auto *box = new QCheckBox(QStringLiteral("Include rotated images"));
                ControlStyles::styleChoiceButton(box);
                return box;
            },
            itself },
        FocusStop { "List", [] { return new CustomTableView; },
            [](QWidget *list) { return static_cast<CustomTableView *>(list)->viewport(); } }),
    [](const ::testing::TestParamInfo<FocusStop> &info) { return std::string(info.param.name); });

} // namespace
