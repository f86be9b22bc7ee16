// Every test process runs inside a temporary home: settings, caches and the log go there.
#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "platform/ThreadsApart.h"

namespace TestEnvironment {

// Called once by the test mains before any test runs.
void setUp();
// The root that AppFolders points at for this process.
QString root();

// The body of a test main: the offscreen platform unless another is asked for, an application
// object of type `App`, the temporary home, then every test.
template <typename App> int runAllTests(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    App app(argc, argv);
    setUp();
    const int code = RUN_ALL_TESTS();
    // A look a test left behind on a silent share may wake while the process ends.
    ThreadsApart::endProcessIfAnyRuns(code);
    return code;
}

} // namespace TestEnvironment
