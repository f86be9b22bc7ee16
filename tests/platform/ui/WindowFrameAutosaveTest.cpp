// A window's frame survives in the settings store from one window to the next.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScreen>
#include <QWidget>

#include "platform/UserDefaults.h"
#include "platform/ui/FrameGeometry.h"
#include "platform/ui/WindowFrameAutosave.h"

TEST(WindowFrameAutosave, HidingSavesTheFrameAndASecondWindowRestoresIt)
{
    const QString key = QStringLiteral("testWindowFrame");
    {
        QWidget window;
        auto *frame = new WindowFrameAutosave(&window, key);
        EXPECT_FALSE(frame->restore());
        window.resize(320, 210);
        window.show();
        window.resize(360, 240);
        window.hide();
    }
    QWidget again;
    auto *frame = new WindowFrameAutosave(&again, key);
    ASSERT_TRUE(frame->restore());
    EXPECT_EQ(again.size(), QSize(360, 240));
    UserDefaults::standard().removeObject(key);
}

TEST(WindowFrameAutosave, AFrameSavedOnALargerScreenComesBackWholeOnASmallerOne)
{
    const QString key = QStringLiteral("testLargeWindowFrame");
    {
        // As left on a 1280x800 screen: wider than the screen here, and well to the right.
        QWidget window;
        auto *frame = new WindowFrameAutosave(&window, key);
        window.setGeometry(120, 40, 1040, 720);
        frame->save();
    }
    QWidget again;
    again.setMinimumSize(320, 200);
    ASSERT_TRUE((new WindowFrameAutosave(&again, key))->restore());
    EXPECT_TRUE(again.screen()->availableGeometry().contains(again.frameGeometry()));
    UserDefaults::standard().removeObject(key);

    // The same frame on 1024x768 less a panel: the window shrinks to the width and moves in.
    const QRect small(0, 0, 1024, 740);
    QWidget window;
    window.setGeometry(120, 40, 1040, 720);
    FrameGeometry::fitWindow(&window, small);
    EXPECT_EQ(window.frameGeometry(), QRect(0, 20, 1024, 720));
    EXPECT_EQ(FrameGeometry::fitInside(QRect(900, 600, 500, 400), small), QRect(524, 340, 500, 400));

    // A minimum size the screen has no room for gives way: the window is as large as the screen.
    QWidget wide;
    wide.setMinimumSize(1100, 600);
    wide.setGeometry(40, 60, 1100, 600);
    FrameGeometry::fitWindow(&wide, small);
    EXPECT_EQ(wide.frameGeometry(), QRect(0, 60, 1024, 600));
}
