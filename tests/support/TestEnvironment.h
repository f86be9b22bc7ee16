// Every test process runs inside a temporary home: settings, caches and the log go there.
#pragma once

#include <QString>

namespace TestEnvironment {

// Called once by the test mains before any test runs.
void setUp();
// The root that AppFolders points at for this process.
QString root();

} // namespace TestEnvironment
