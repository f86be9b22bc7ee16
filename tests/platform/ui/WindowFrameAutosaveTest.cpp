// A window's frame survives in the settings store from one window to the next.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "platform/UserDefaults.h"
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
