// Test main for the Widgets-free libraries: a GUI application object (offscreen) for fonts, images
// and the event loop.
#include <QGuiApplication>

#include "support/TestEnvironment.h"

int main(int argc, char **argv)
{
    return TestEnvironment::runAllTests<QGuiApplication>(argc, argv);
}
