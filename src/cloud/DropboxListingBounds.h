// The bounds that end a Dropbox listing a server would keep going for ever: pages it may take,
// cursors it may not repeat, entries it may hold, and pages in a row that promise more but bring
// nothing new. What it keeps to tell repeats is one 64-bit hash per cursor and per entry of the
// folder being listed, so it stays within the entry bound's budget too.
#pragma once

#include <cstddef>
#include <unordered_set>

#include <QList>
#include <QString>

#include "cloud/CloudSource.h"
#include "cloud/DropboxApi.h"

class DropboxListingBounds
{
public:
    struct Limits {
        // Pages one listing may ask for (as for every cloud listing).
        int maxPages = CloudSource::kMaxListingPages;
        // Entries one listing may hold: ten times a large photo library, a professional's archive.
        // A held photo entry costs about 2.2 KB (its record in the listed tree and the scan's own
        // copy), so a listing stops near 1.1 GB at worst instead of growing until the system ends
        // the program.
        qint64 maxEntries = 500000;
        // Pages in a row that promise more (has_more) without one new entry. The provider may send
        // an empty page while it catches up, never a hundred in a row; a hundred cost seconds and
        // no memory.
        int maxPagesWithoutNewEntries = 100;
    };
    explicit DropboxListingBounds(Limits limits);

    // A new listing: every count starts again.
    void reset();
    // The first page of a folder is asked for: entries met before belong to other folders.
    void startFolder();
    // Before a page is asked for with `cursor` (empty for a folder's first page): empty when it may
    // be, else why the listing ends.
    QString askPage(const QString &cursor);
    // The entries of `page` this folder has not met before go to `fresh`; answers why the listing
    // ends, or nothing.
    QString takePage(const DropboxListPage &page, QList<DropboxEntry> &fresh);

private:
    Limits m_limits;
    int m_pagesAsked = 0;
    qint64 m_entries = 0;
    int m_pagesWithoutNew = 0;
    std::unordered_set<std::size_t> m_cursors;
    std::unordered_set<std::size_t> m_folderEntries;
};
