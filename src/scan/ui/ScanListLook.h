// The looks at the scan list's paths off the GUI thread: the saved list's when the window opens,
// and a photo library's when one is added. What each entry is now, and the key it is listed by. A
// look runs a bounded time per mount (PathLook), so a path on a share gone silent never holds the
// window. The mount table is read, and the home Trash looked at, once for the whole list; each
// path is resolved once.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/PathLook.h"
#include "scan/ui/ScanListRules.h"

class ScanListLook
{
public:
    struct Facts {
        ScanListRules::Kind kind = ScanListRules::Kind::Absent;
        QString key;
    };
    using Answers = std::vector<std::optional<Facts>>;

    // Looks at `paths` on a thread of its own; `done` runs on the GUI thread with the facts of each
    // path in order (nothing for a path whose mount did not answer), unless `owner` has gone.
    static void start(
        const QStringList &paths, QPointer<QObject> owner, std::function<void(const Answers &)> done);
    // Looks at `path`, offered as a photo library, the same way: `done` has its facts as
    // lookAtLibrary() gives them, or nothing when its mount did not answer.
    static void startLibrary(
        const QString &path, QPointer<QObject> owner, std::function<void(const std::optional<Facts> &)> done);
    // The look itself at `path` over the mounts of `look`, the home Trash resolved to
    // `realHomeTrash`, on a thread apart that keeps `where` at each step; it may block for good on a
    // silent share. Nothing when a step enters a mount named as not answering.
    static std::optional<Facts> lookAt(
        const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where);
    // The same for a path offered as a photo library: PhotosLibrary for a readable folder outside
    // any Trash that holds a library's database, LibraryError for another readable folder, Skip for
    // anything else.
    static std::optional<Facts> lookAtLibrary(
        const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where);

private:
    using Look
        = std::optional<Facts> (*)(const QString &, const PathLook &, const QString &, PathLook::Where &);
    // What a look found at a path, before it is classified.
    struct Seen {
        bool inTrash = false;
        // Not found, in a folder that is there and answers.
        bool folderHere = false;
        std::optional<ScanListRules::Item> item;
        QString key;
    };

    static void startWith(const QStringList &paths, Look look, QPointer<QObject> owner,
        std::function<void(const Answers &)> done);
    // True when the real path `real` is a folder, looked at where `where` is kept.
    static bool isFolderHere(const QString &real, PathLook::Where &where);
    static std::optional<Seen> see(
        const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where);
};
