// Test main for the window and control libraries.
#include <QApplication>

#include "support/TestEnvironment.h"

int main(int argc, char **argv)
{
    return TestEnvironment::runAllTests<QApplication>(argc, argv);
}
