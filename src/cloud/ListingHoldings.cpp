#include "cloud/ListingHoldings.h"

#include <algorithm>

#include <QHash>

#include "cloud/ListingRefusals.h"
#include "model/ImageFileInfo.h"

namespace
{

// A file URL keeps its own parts beside the path it was made from.
constexpr qint64 kUrlBytes = 96;
constexpr qint64 kControlBlockBytes = 16;

} // namespace

ListingHoldings::ListingHoldings(qint64 maxBytes)
    : m_maxBytes(maxBytes)
{
}

void ListingHoldings::reset()
{
    m_held = 0;
    m_peak = 0;
}

bool ListingHoldings::hold(qint64 bytes)
{
    m_held += bytes;
    m_peak = std::max(m_peak, m_held);
    return m_held <= m_maxBytes;
}

void ListingHoldings::release(qint64 bytes)
{
    m_held -= bytes;
}

QString ListingHoldings::refusal(const QString &provider) const
{
    // Not "more than N MB" alone: read beside a cloud folder, that would seem to be its size.
    return ListingRefusals::tooLargeToHold(provider, m_maxBytes >> 20);
}

std::size_t ListingHoldings::keyOf(const QString &text)
{
    return std::size_t(qHash(text, 0x51a7e));
}

qint64 ListingHoldings::textBytes(const QString &text)
{
    return text.isEmpty() ? 0 : 16 + 2 * qint64(text.capacity());
}

qint64 ListingHoldings::recordBytes(const ImageFileInfo &record)
{
    const qint64 texts = textBytes(record.fileName) + textBytes(record.filePath)
        + textBytes(record.folderPath) + textBytes(record.actualFilePathOnServer) + textBytes(record.fileMd5)
        + textBytes(record.id) + textBytes(record.rev);
    const qint64 url = record.filePathUrl.isEmpty() ? 0 : kUrlBytes + textBytes(record.filePath);
    return qint64(sizeof(ImageFileInfo)) + kControlBlockBytes + texts + url;
}
