// What a removal run will remove, decided on the GUI thread before the run starts: the marked,
// unlocked members of the shown groups, less every group that would be left without a copy outside
// a Trash.
#pragma once

#include <memory>
#include <vector>

#include <QString>

class ImageFileInfo;
class RemovalRoute;
class RemovalRoutes;
class ResultState;

// One file to remove. Two records of one file (a hard link, a path through a symbolic link) are one
// item: moved once, counted once, and both leave their groups. The first record is the one handed to
// the route.
struct RemovalItem {
    std::vector<std::shared_ptr<ImageFileInfo>> records;
    std::shared_ptr<RemovalRoute> route;
    QString identity;
    // The groups (indices into RemovalPlan::groups) its records leave.
    std::vector<size_t> groups;
};

// A shown group that loses files, and the members it keeps for them. Before each of its files goes,
// the run checks that a kept member is still the file scanned; otherwise the rest of the group stays.
struct RemovalGroup {
    struct Kept {
        std::shared_ptr<ImageFileInfo> record;
        std::shared_ptr<RemovalRoute> route;
    };
    std::vector<Kept> kept;
};

// A marked file the plan leaves alone, and why; it stays marked.
struct RemovalRefusal {
    std::shared_ptr<ImageFileInfo> record;
    QString reason;
    // The same in the user's words; empty when there are none.
    QString shown;
};

class RemovalPlan
{
public:
    static RemovalPlan make(const ResultState &state, const RemovalRoutes &routes);

    std::vector<RemovalItem> items;
    std::vector<RemovalGroup> groups;
    std::vector<RemovalRefusal> refused;
    // Groups left whole because no copy would have remained, and those whose only other copies lie
    // in a Trash.
    int skippedGroups = 0;
    int skippedInTrash = 0;
    // Every marked, unlocked record of the shown groups, in shown order.
    std::vector<std::shared_ptr<ImageFileInfo>> marked;
};
