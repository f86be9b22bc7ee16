// The bounds that end a Dropbox listing a server would keep going for ever: pages it may take,
// cursors it may not repeat, entries and bytes it may hold, and pages in a row that promise more
// but bring nothing new. What it keeps to tell repeats is one 64-bit hash per cursor and per entry
// of the folder being listed, and it counts those among the bytes held.
#pragma once

#include <cstddef>
#include <unordered_set>

#include <QList>
#include <QString>

#include "cloud/CloudSource.h"
#include "cloud/DropboxApi.h"
#include "cloud/ListingHoldings.h"

class DropboxListingBounds
{
public:
    struct Limits {
        // Pages one listing may ask for (as for every cloud listing).
        int maxPages = CloudSource::kMaxListingPages;
        // Entries one listing may hold: ten times a large photo library, a professional's archive.
        qint64 maxEntries = 500000;
        // Pages in a row that promise more (has_more) without one new entry. The provider may send
        // an empty page while it catches up, never a hundred in a row; a hundred cost seconds and
        // no memory.
        int maxPagesWithoutNewEntries = 100;
        // Bytes one listing may hold: its folder tree's entries (a few hundred bytes each), the
        // records it gave the scan (about 1.5 KB each with their texts) and its repeat checks. The
        // entry bound alone would let 500,000 records, or paths of many kilobytes, through.
        qint64 maxHeldBytes = ListingHoldings::kDefaultMaxBytes;
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
    // `bytes` more are held for this listing: empty while within the bound, else why it ends.
    QString hold(qint64 bytes);
    // What this listing holds now, and the most it held.
    qint64 heldBytes() const { return m_holdings.held(); }
    qint64 peakHeldBytes() const { return m_holdings.peak(); }

private:
    Limits m_limits;
    int m_pagesAsked = 0;
    qint64 m_entries = 0;
    int m_pagesWithoutNew = 0;
    ListingHoldings m_holdings;
    std::unordered_set<std::size_t> m_cursors;
    std::unordered_set<std::size_t> m_folderEntries;
};
