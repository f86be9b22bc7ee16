// Main-queue, delayed and global-queue dispatch on top of Qt's event loop and thread pool.
#pragma once

#include <functional>

class Dispatch
{
public:
    // Runs `job` later on the GUI thread (queued; never inline, even from the GUI thread).
    static void main(std::function<void()> job);
    // Runs `job` on the GUI thread after `seconds`.
    static void mainAfter(double seconds, std::function<void()> job);
    // Runs `job` on a pool thread.
    static void global(std::function<void()> job);
    static bool isMainThread();
    // Runs `job` on the GUI thread and waits for it (runs inline when already there).
    static void mainSync(const std::function<void()> &job);
};
