// The operating-system version flags the interface code branches on. This platform always presents
// the profile of the newest supported release (every "or later" flag true, the older ones false);
// tests may set another profile to exercise the older layouts.
#pragma once

#include <atomic>

#include <QString>

class OSVersionFlags
{
public:
    static inline std::atomic<bool> isOSOlderThan1013 { false };
    static inline std::atomic<bool> isOS1013Or1014 { false };
    static inline std::atomic<bool> isOS1015 { false };
    // 10.14 and every later release: the first that crossfades preference panes.
    static inline std::atomic<bool> isOS1014OrLater { true };
    static inline std::atomic<bool> isOS11OrLater { true };
    static inline std::atomic<bool> isOS13OrLater { true };
    static inline std::atomic<bool> isOS14OrLater { true };
    static inline std::atomic<bool> isOS15OrLater { true };

    // The release whose profile this platform presents.
    static constexpr int kProfileMajor = 15;
    static constexpr int kProfileMinor = 0;

    // Sets the flags from the fixed profile and writes "osVersion: " and this system's name and
    // kernel version to the log.
    static void detectOSVersion();
    // Sets the flags as a system reporting `major`.`minor` would (tests; 10.16 counts as 11).
    static void applyVersion(int major, int minor);
    // The running system as the log shows it, e.g. "Debian GNU/Linux 12 (bookworm) (linux 6.1.0)".
    static QString systemDescription();
};
