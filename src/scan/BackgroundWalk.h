// The walk over a scan list on a thread of its own. A thread stuck in the kernel on a share whose
// server has gone silent cannot be stopped, so a stop that the walk does not heed at once leaves it
// behind and the scan ends all the same. The walk holds its own share of the session it reads and
// of the box it writes into, and writes nothing else: however late it wakes, it touches no freed
// state and no record of a newer scan.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/FilePathNode.h"
#include "scan/ScanSession.h"
#include "scan/SourceEnumerator.h"

class BackgroundWalk
{
public:
    // How long a stopped walk is waited for before it is left behind.
    static constexpr std::chrono::milliseconds kStopGrace { 500 };

    // Walks `sources` for `session` and waits for the walk; `progress` hears, on the waiting thread,
    // of the last record made now and then. Nothing when the scan was stopped and the walk left
    // behind.
    static std::optional<SourceEnumerator::Walked> run(const std::shared_ptr<const ScanSession> &session,
        const std::vector<FilePathNode> &sources,
        const std::function<void(const QString &path, int records)> &progress);
};
