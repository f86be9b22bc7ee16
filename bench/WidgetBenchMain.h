// The main of a benchmark of windows and views: an offscreen widget application (unless another
// platform is asked for) whose settings, caches and log live in a temporary home.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/AppFolders.h"

inline int runWidgetBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir home;
    AppFolders::setRootOverride(home.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
