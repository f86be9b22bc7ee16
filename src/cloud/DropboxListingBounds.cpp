#include "cloud/DropboxListingBounds.h"

#include "cloud/ListingRefusals.h"

DropboxListingBounds::DropboxListingBounds(Limits limits)
    : m_limits(limits)
    , m_holdings(limits.maxHeldBytes)
{
}

void DropboxListingBounds::reset()
{
    m_pagesAsked = 0;
    m_entries = 0;
    m_cursors.clear();
    m_folderEntries.clear();
    m_holdings.reset();
    startFolder();
}

void DropboxListingBounds::startFolder()
{
    m_pagesWithoutNew = 0;
    m_holdings.release(qint64(m_folderEntries.size()) * ListingHoldings::kKeyBytes);
    m_folderEntries.clear();
}

QString DropboxListingBounds::hold(qint64 bytes)
{
    return m_holdings.hold(bytes) ? QString() : m_holdings.refusal(ListingRefusals::dropbox());
}

QString DropboxListingBounds::askPage(const QString &cursor)
{
    if (!cursor.isEmpty()) {
        if (!m_cursors.insert(ListingHoldings::keyOf(cursor)).second)
            return ListingRefusals::repeatsAPage(ListingRefusals::dropbox());
        const QString overHeld = hold(ListingHoldings::kKeyBytes);
        if (!overHeld.isEmpty())
            return overHeld;
    }
    if (++m_pagesAsked > m_limits.maxPages)
        return ListingRefusals::tooManyPages(ListingRefusals::dropbox(), m_limits.maxPages);
    return {};
}

QString DropboxListingBounds::takePage(const DropboxListPage &page, QList<DropboxEntry> &fresh)
{
    fresh.clear();
    for (const DropboxEntry &entry : page.entries) {
        if (m_folderEntries.insert(ListingHoldings::keyOf(entry.id.isEmpty() ? entry.pathLower : entry.id))
                .second)
            fresh.append(entry);
    }
    m_entries += fresh.size();
    const QString overHeld = hold(fresh.size() * ListingHoldings::kKeyBytes);
    if (!overHeld.isEmpty())
        return overHeld;
    if (m_entries > m_limits.maxEntries)
        return ListingRefusals::tooManyEntries(ListingRefusals::dropbox(), m_limits.maxEntries);
    m_pagesWithoutNew = page.hasMore && fresh.isEmpty() ? m_pagesWithoutNew + 1 : 0;
    if (m_pagesWithoutNew >= m_limits.maxPagesWithoutNewEntries)
        return ListingRefusals::noNewEntries(ListingRefusals::dropbox(), m_limits.maxPagesWithoutNewEntries);
    return {};
}
