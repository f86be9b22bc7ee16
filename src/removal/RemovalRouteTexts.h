// What each removal route does, in the user's words: the question before a removal, its button, and
// the progress sheet's lines. Files of this computer go to the Trash; library items are only listed
// in the album file; Dropbox deletes (and keeps the deleted files for a while); Google Drive moves
// to its trash (and empties it after 30 days).
#pragma once

#include <array>
#include <cstdint>

#include <QString>

#include "removal/RemovalRoutes.h"

class ResultState;

class RemovalRouteTexts
{
public:
    struct Share {
        int count = 0;
        std::uint64_t size = 0;
    };
    // Marked files by the route each takes, indexed by RemovalRoutes::Kind.
    using Shares = std::array<Share, 4>;

    // The marked, unlocked files the results show, each counted once.
    static Shares markedShares(const ResultState &state);

    // One question for each route that has marked files, in route order.
    static QString question(const Shares &shares, const QString &albumName);
    // What becomes of the files of the routes other than the Trash (where the album file lies, how
    // long a provider keeps them), then the request to review them.
    static QString reviewNote(const Shares &shares, const QString &albumFile);
    // The title of the button that starts the removal.
    static QString proceedTitle(const Shares &shares);
    static QString progressTitle(const Shares &shares, const QString &albumName);
    // `done` files so far, `size` of them freed (files of this computer only).
    static QString progressCount(const Shares &shares, int done, std::uint64_t size);

private:
    static bool onlyRoute(const Shares &shares, RemovalRoutes::Kind kind);
    // Library items marked along with files that a removal does take away.
    static bool isMixed(const Shares &shares);
};
