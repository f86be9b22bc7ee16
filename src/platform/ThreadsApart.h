// Threads that run apart from everything that waits for them: a look at a share whose server has
// gone silent waits in the kernel where no stop reaches, and is left behind. It wakes when the share
// answers or goes away, which may be while the program ends and destroys its statics (patterns and
// lists of its own, and Qt's and the libraries' own, which no code of ours can keep alive). So a
// program that still runs such a thread at its end ends without destroying anything: settings,
// caches and the log are written as they change, and nothing is left to do but to flush standard
// output and error.
#pragma once

#include <functional>

class ThreadsApart
{
public:
    // Runs `body` on a thread of its own, detached, counted until everything `body` owns has gone.
    // False, with nothing run, when no thread could be made.
    static bool start(std::function<void()> body);
    // Threads started here that run now, queues left behind that still run a job, and writes in the
    // program's own folders under way.
    static int running();
    // The end of the program, from its main function once its windows and work are gone: when a
    // thread apart still runs, the process ends here at once with `code`; otherwise this returns.
    static void endProcessIfAnyRuns(int code);
};
