// What one cloud listing holds, in bytes, against its bound: the entries it keeps and the records
// it gives the scan. A listing that would hold more ends as failed, so no answer of a provider,
// however long or endless, grows the program past the bound.
#pragma once

#include <cstddef>

#include <QString>

class ImageFileInfo;

class ListingHoldings
{
public:
    // A quarter of a gigabyte: some 150,000 photos with ordinary paths and their records, three
    // times a large photo library, near 300 MB for the whole program at worst.
    static constexpr qint64 kDefaultMaxBytes = 256LL * 1024 * 1024;
    // One key of a hashed set of seen names: its node and its share of the buckets.
    static constexpr qint64 kKeyBytes = 40;

    explicit ListingHoldings(qint64 maxBytes = kDefaultMaxBytes);

    // A new listing.
    void reset();
    // `bytes` more are held: false once the bound is passed.
    bool hold(qint64 bytes);
    void release(qint64 bytes);
    // Why the listing ends when hold() said no, naming the provider.
    QString refusal(const QString &provider) const;
    qint64 held() const { return m_held; }
    qint64 peak() const { return m_peak; }

    // The key a seen name is kept by in such a set: 64 bits instead of the text.
    static std::size_t keyOf(const QString &text);
    // What a text's own block costs (its header and UTF-16 characters); none when empty.
    static qint64 textBytes(const QString &text);
    // What a record given to the scan holds: the record, its control block and its texts.
    static qint64 recordBytes(const ImageFileInfo &record);

private:
    qint64 m_maxBytes;
    qint64 m_held = 0;
    qint64 m_peak = 0;
};
