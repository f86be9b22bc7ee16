// The looks at the scan list's paths off the GUI thread: the saved list's when the window opens,
// and the paths an add offers (a drop, a choice in the open panel). What each entry is now, and the
// key it is listed by. A
// look runs a bounded time per mount (PathLook), so a path on a share gone silent never holds the
// window. The mount table is read, and the home Trash looked at, once for the whole list; each
// path is resolved once.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/PathLook.h"
#include "scan/ui/ScanListRules.h"

class ExclusionMatcher;

class ScanListLook
{
public:
    struct Facts {
        ScanListRules::Kind kind = ScanListRules::Kind::Absent;
        QString key;
        bool insideTrash = false;
    };
    using Answers = std::vector<std::optional<Facts>>;

    // The paths an add offers, with what telling them apart takes; the settings as they stood when
    // the add began.
    struct Request {
        QStringList paths;
        ScanListRules::Offer offer = ScanListRules::Offer::Drop;
        QStringList excludedFolders;
        QStringList allowedExtensions;
    };
    // What the look at a Request found: the facts of each path in order (nothing for a path whose
    // mount did not answer), and the excluded folders, resolved there too.
    struct Offered {
        Answers answers;
        std::shared_ptr<const ExclusionMatcher> exclusions;
    };

    // Looks at `paths` on a thread of its own; `done` runs on the GUI thread with the facts of each
    // path in order (nothing for a path whose mount did not answer), unless `owner` has gone.
    static void start(
        const QStringList &paths, QPointer<QObject> owner, std::function<void(const Answers &)> done);
    // Looks at the paths of `request` the same way: `done` has what lookAtOffered() gives.
    static void startOffered(
        const Request &request, QPointer<QObject> owner, std::function<void(const Offered &)> done);
    // The look itself at `request`, on the calling thread, which it may hold for the bound of each
    // mount that does not answer (see PathLook).
    static Offered lookAtOffered(const Request &request);
    // The look itself at `path` over the mounts of `look`, the home Trash resolved to
    // `realHomeTrash`, on a thread apart that keeps `where` at each step; it may block for good on a
    // silent share. Nothing when a step enters a mount named as not answering.
    static std::optional<Facts> lookAt(
        const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where);
    // The same for the path `path` an add offers, classified as classifyOffered() says.
    static std::optional<Facts> lookAtOffered(const QString &path, const Request &request,
        const PathLook &look, const QString &realHomeTrash, PathLook::Where &where);

private:
    using Look = std::function<std::optional<Facts>(
        const QString &, const PathLook &, const QString &, PathLook::Where &)>;
    // What a look found at a path, before it is classified.
    struct Seen {
        bool inTrash = false;
        // Not found, in a folder that is there and answers.
        bool folderHere = false;
        std::optional<ScanListRules::Item> item;
        QString key;
    };

    // Runs `work` on a thread of its own, or `instead` on the GUI thread when there is none.
    static void startApart(std::function<void()> work, std::function<void()> instead);
    // `look` at each of `paths` in turn, over the mounts as they stand now.
    static Answers lookEach(const QStringList &paths, const Look &look);
    // True when the real path `real` is a folder, looked at where `where` is kept.
    static bool isFolderHere(const QString &real, PathLook::Where &where);
    static std::optional<Seen> see(
        const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where);
};
