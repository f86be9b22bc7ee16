// What a removal run will remove, decided on the GUI thread before the run starts: the marked,
// unlocked members of the shown groups, less every group that would be left without a copy outside
// a Trash. What it must learn of the files on this computer (who they are, whether a link leads to
// them, whether a Trash holds them) is looked at first, on any thread, each look within the bound a
// mount has to answer; the plan itself reads no file.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include <QHash>
#include <QSet>
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

// A file of this computer among the shown groups, taken on the GUI thread for the looks.
struct RemovalSubject {
    std::shared_ptr<ImageFileInfo> record;
    std::shared_ptr<RemovalRoute> route;
    QString path;
};

// What the looks at the subjects found.
struct RemovalLooks {
    // The identity of each subject that answered, whether it was reached through a link, and those
    // whose mount did not answer.
    std::unordered_map<const ImageFileInfo *, QString> identities;
    QSet<const ImageFileInfo *> links;
    QSet<const ImageFileInfo *> notAnswering;
    // Whether a Trash holds each subject's folder (one that does not answer counts as held by none).
    QHash<QString, bool> folderInTrash;
};

class RemovalPlan
{
public:
    // GUI thread: the files of this computer the plan will ask about.
    static std::vector<RemovalSubject> subjectsOf(const ResultState &state, const RemovalRoutes &routes);
    // Any thread: looks at them.
    static RemovalLooks look(const std::vector<RemovalSubject> &subjects);
    // GUI thread: the plan, by what `looks` found.
    static RemovalPlan make(const ResultState &state, const RemovalRoutes &routes, const RemovalLooks &looks);
    // The same, looking first on the calling thread.
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
