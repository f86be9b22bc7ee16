// Waiting in tests for what the event loop delivers.
#pragma once

#include <functional>

namespace TestEvents {

// Runs the event loop until `done` holds or `ms` milliseconds have passed; false on time-out.
bool waitFor(const std::function<bool()> &done, int ms);

} // namespace TestEvents
