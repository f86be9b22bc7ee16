// Runs a test as a user without privileges: tests run as root here and in CI, and root reads
// files of any mode, so a test of what a user who may not read a file is told runs again in a
// process of its own as another user.
#pragma once

namespace Unprivileged
{

// The user and group the test runs as.
inline constexpr unsigned kId = 65534;

// True when this process may read files of any mode, so that a test of permissions must run again
// as another user (runCurrentTest).
bool mustRunAsAnother();

// Runs the test under way again in this program, as kId, with a temporary folder of that user's
// own, and expects it to pass; skips where no such process can be started here.
void runCurrentTest();

} // namespace Unprivileged
