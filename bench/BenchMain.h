// The main of a benchmark that needs an application object: `App` (offscreen unless another
// platform is asked for) with settings, caches and log in a temporary home.
#pragma once

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "platform/AppFolders.h"

template <typename App> int runBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    App app(argc, argv);
    QTemporaryDir home;
    AppFolders::setRootOverride(home.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
