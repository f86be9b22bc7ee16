// Test main for the Widgets-free libraries: a GUI application object (offscreen) for fonts, images
// and the event loop.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "support/TestEnvironment.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    TestEnvironment::setUp();
    return RUN_ALL_TESTS();
}
