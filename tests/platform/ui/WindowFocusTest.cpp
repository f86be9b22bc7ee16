// A window asking for the keys takes them back from the window behind it, never from another
// window the user picked meanwhile, and its retries end with it.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QWidget>

#include "platform/ui/WindowFocus.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kRetriesMs = WindowFocus::kTries * WindowFocus::kTryIntervalMs * 2;

bool activate(QWidget &window)
{
    window.activateWindow();
    return TestEvents::waitFor([&window] { return window.isActiveWindow(); }, 2000);
}

TEST(WindowFocus, RetakesTheKeysFromTheWindowBehindButNotFromAnotherOne)
{
    for (const bool pickBehind : { true, false }) {
        QWidget behind;
        QWidget other;
        auto sheet = std::make_unique<QWidget>(&behind, Qt::Window);
        for (QWidget *window : { &behind, &other })
            window->show();
        ASSERT_TRUE(activate(behind));
        sheet->show();
        WindowFocus::take(sheet.get());
        // Before the window manager gives the keys, they go to the window behind or elsewhere.
        ASSERT_TRUE(activate(pickBehind ? behind : other));
        EXPECT_EQ(TestEvents::waitFor([&] { return sheet->isActiveWindow(); }, kRetriesMs), pickBehind)
            << pickBehind;
        // A retry still due finds the window gone.
        sheet.reset();
        TestEvents::waitFor([] { return false; }, 3 * WindowFocus::kTryIntervalMs);
    }
}

} // namespace
