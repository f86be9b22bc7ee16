// The file's first 'meta' box read as libheif reads it: the item's types from 'iinf', its data from
// 'iloc' (in the file, or in 'idat'), and from that data the canvas the derivation states. Every
// item entry and every type given for the item counts, so boxes that repeat an item are charged
// for the largest canvas any of them states.
#include "platform/HeifCanvas.h"

#include <algorithm>
#include <vector>

#include <QFile>

namespace
{

// The metadata of real files takes a few kilobytes; a box beyond this is not read.
constexpr qint64 kLargestMeta = qint64(16) * 1024 * 1024;
// A side no int holds is still charged as more than any budget.
constexpr std::uint64_t kLargestSide = std::uint64_t(1) << 30;
// Enough of an item's data for any canvas field.
constexpr qint64 kPayloadHead = 32;
constexpr std::size_t kMostEntries = 16;

// Big-endian fields of data[begin, end); reading past the end marks the reader failed.
class Fields
{
public:
    Fields(const QByteArray &data, qsizetype begin, qsizetype end)
        : m_data(data)
        , m_at(begin)
        , m_end(std::min(end, data.size()))
    {
    }
    bool failed() const { return m_at > m_end; }
    qsizetype position() const { return m_at; }
    std::uint64_t read(int bytes)
    {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i, ++m_at)
            value = (value << 8) | (m_at < m_end ? std::uint8_t(m_data[m_at]) : 0);
        return value;
    }
    void skip(qsizetype bytes) { m_at += bytes; }

private:
    const QByteArray &m_data;
    qsizetype m_at;
    qsizetype m_end;
};

struct Box {
    QByteArray type;
    qsizetype payload;
    qsizetype end;
};

// The size of the box whose header starts `header`, and where its payload starts; 0 when broken.
std::pair<std::uint64_t, int> boxSize(const QByteArray &header, std::uint64_t room)
{
    Fields fields(header, 0, header.size());
    std::uint64_t size = fields.read(4);
    int headerSize = 8;
    if (size == 1) {
        fields.skip(4);
        size = fields.read(8);
        headerSize = 16;
    } else if (size == 0) {
        size = room;
    }
    if (fields.failed() || size < std::uint64_t(headerSize) || size > room)
        return { 0, 0 };
    return { size, headerSize };
}

std::vector<Box> boxesIn(const QByteArray &data, qsizetype begin, qsizetype end)
{
    std::vector<Box> boxes;
    while (begin + 8 <= end) {
        const auto [size, headerSize] = boxSize(data.mid(begin, 16), std::uint64_t(end - begin));
        if (size == 0)
            break;
        boxes.push_back({ data.mid(begin + 4, 4), begin + headerSize, begin + qsizetype(size) });
        begin += qsizetype(size);
    }
    return boxes;
}

const Box *firstOf(const std::vector<Box> &boxes, const char *type)
{
    const auto found
        = std::find_if(boxes.begin(), boxes.end(), [&](const Box &box) { return box.type == type; });
    return found == boxes.end() ? nullptr : &*found;
}

QByteArray metaOf(QFile &file)
{
    const qint64 fileSize = file.size();
    for (qint64 at = 0; at + 8 <= fileSize && file.seek(at);) {
        const QByteArray header = file.read(16);
        const auto [size, headerSize] = boxSize(header, std::uint64_t(fileSize - at));
        if (size == 0)
            return {};
        if (header.mid(4, 4) == "meta")
            return qint64(size) <= kLargestMeta && file.seek(at + headerSize)
                ? file.read(qint64(size) - headerSize)
                : QByteArray();
        at += qint64(size);
    }
    return {};
}

std::vector<QByteArray> typesOf(const QByteArray &meta, const Box &iinf, std::uint32_t itemId)
{
    Fields fields(meta, iinf.payload, iinf.end);
    const std::uint64_t version = fields.read(1);
    fields.skip(3 + (version == 0 ? 2 : 4));
    std::vector<QByteArray> types;
    for (const Box &infe : boxesIn(meta, fields.position(), iinf.end)) {
        Fields entry(meta, infe.payload, infe.end);
        const std::uint64_t entryVersion = entry.read(1);
        entry.skip(3);
        if (infe.type != "infe" || entryVersion < 2)
            continue;
        const std::uint64_t id = entry.read(entryVersion == 2 ? 2 : 4);
        entry.skip(2);
        const qsizetype typeAt = entry.position();
        entry.skip(4);
        if (!entry.failed() && id == itemId)
            types.push_back(meta.mid(typeAt, 4));
    }
    return types;
}

struct Extent {
    std::uint64_t method; // 0 in the file, 1 in 'idat'
    std::uint64_t offset;
    std::uint64_t length; // 0: to the end
};

// Where each entry for the item puts the start of its data: the first of its extents.
std::vector<Extent> locationsOf(const QByteArray &meta, const Box &iloc, std::uint32_t itemId)
{
    Fields fields(meta, iloc.payload, iloc.end);
    const std::uint64_t version = fields.read(1);
    fields.skip(3);
    const std::uint64_t sizes = fields.read(2);
    const int offsetSize = int(sizes >> 12), lengthSize = int(sizes >> 8) & 15;
    const int baseSize = int(sizes >> 4) & 15, indexSize = version > 0 ? int(sizes) & 15 : 0;
    const std::uint64_t count = fields.read(version < 2 ? 2 : 4);
    std::vector<Extent> locations;
    for (std::uint64_t i = 0; i < count && !fields.failed(); ++i) {
        const std::uint64_t id = fields.read(version < 2 ? 2 : 4);
        const std::uint64_t method = version > 0 ? fields.read(2) & 15 : 0;
        fields.skip(2);
        const std::uint64_t base = fields.read(baseSize);
        const std::uint64_t extents = fields.read(2);
        const qsizetype extentsAt = fields.position();
        fields.skip(indexSize);
        const std::uint64_t offset = fields.read(offsetSize);
        const Extent first { method, base + offset, fields.read(lengthSize) };
        fields.skip(
            extentsAt + qsizetype(extents) * (indexSize + offsetSize + lengthSize) - fields.position());
        if (id == itemId && extents > 0 && !fields.failed())
            locations.push_back(first);
    }
    return locations;
}

QByteArray headOf(QFile &file, const QByteArray &meta, const Box *idat, const Extent &extent)
{
    const qint64 length
        = extent.length == 0 ? kPayloadHead : qint64(std::min<std::uint64_t>(extent.length, kPayloadHead));
    if (extent.method == 0)
        return extent.offset < std::uint64_t(file.size()) && file.seek(qint64(extent.offset))
            ? file.read(length)
            : QByteArray();
    if (extent.method == 1 && idat && extent.offset < std::uint64_t(idat->end - idat->payload))
        return meta.mid(idat->payload + qsizetype(extent.offset),
            std::min<qsizetype>(length, idat->end - idat->payload - qsizetype(extent.offset)));
    return {};
}

std::optional<QSize> canvasIn(const QByteArray &type, const QByteArray &data)
{
    Fields fields(data, 0, data.size());
    fields.skip(1);
    const int fieldSize = (fields.read(1) & 1) ? 4 : 2;
    fields.skip(type == "grid" ? 2 : 8); // rows and columns, or the overlay's fill colour
    const std::uint64_t width = fields.read(fieldSize);
    const std::uint64_t height = fields.read(fieldSize);
    if (fields.failed())
        return std::nullopt;
    return QSize(int(std::min(width, kLargestSide)), int(std::min(height, kLargestSide)));
}

// The types of the properties 'ipma' associates with the item, by their places in 'ipco'.
std::optional<std::vector<QByteArray>> propertiesOf(
    const QByteArray &meta, const Box &iprp, std::uint32_t itemId)
{
    const std::vector<Box> boxes = boxesIn(meta, iprp.payload, iprp.end);
    const Box *ipco = firstOf(boxes, "ipco");
    if (!ipco)
        return std::nullopt;
    const std::vector<Box> properties = boxesIn(meta, ipco->payload, ipco->end);
    std::vector<QByteArray> types;
    for (const Box &ipma : boxes) {
        if (ipma.type != "ipma")
            continue;
        Fields fields(meta, ipma.payload, ipma.end);
        const std::uint64_t version = fields.read(1);
        const bool wideIndex = (fields.read(3) & 1) != 0;
        const std::uint64_t count = fields.read(4);
        for (std::uint64_t i = 0; i < count && !fields.failed(); ++i) {
            const std::uint64_t id = fields.read(version < 1 ? 2 : 4);
            const std::uint64_t associations = fields.read(1);
            for (std::uint64_t j = 0; j < associations && !fields.failed(); ++j) {
                const std::uint64_t index = fields.read(wideIndex ? 2 : 1) & (wideIndex ? 0x7fff : 0x7f);
                if (id != itemId || index == 0)
                    continue;
                if (index > properties.size())
                    return std::nullopt;
                types.push_back(properties[index - 1].type);
            }
        }
        if (fields.failed())
            return std::nullopt;
    }
    return types;
}

// The first 'meta' box and the boxes directly in it; none when the file cannot be read.
struct Meta {
    QByteArray bytes;
    std::vector<Box> children;
};

Meta readMeta(QFile &file)
{
    Meta meta;
    if (file.open(QIODevice::ReadOnly)) {
        meta.bytes = metaOf(file);
        meta.children = boxesIn(meta.bytes, 4, meta.bytes.size());
    }
    return meta;
}

qint64 areaOf(const QSize &size)
{
    return qint64(size.width()) * size.height();
}

// The largest canvas item `itemId` states; an empty size when it is coded, not derived.
std::optional<QSize> canvasOf(QFile &file, const Meta &meta, std::uint32_t itemId)
{
    const Box *iinf = firstOf(meta.children, "iinf");
    const Box *iloc = firstOf(meta.children, "iloc");
    if (!iinf || !iloc)
        return std::nullopt;
    const std::vector<QByteArray> types = typesOf(meta.bytes, *iinf, itemId);
    const std::vector<Extent> locations = locationsOf(meta.bytes, *iloc, itemId);
    // A real file states an item once; a file stating it over and over is not read on.
    if (types.empty() || types.size() > kMostEntries || locations.size() > kMostEntries)
        return std::nullopt;
    QSize largest;
    for (const QByteArray &type : types) {
        if (type != "grid" && type != "iovl")
            continue;
        if (locations.empty())
            return std::nullopt;
        for (const Extent &location : locations) {
            const std::optional<QSize> canvas
                = canvasIn(type, headOf(file, meta.bytes, firstOf(meta.children, "idat"), location));
            if (!canvas)
                return std::nullopt;
            if (areaOf(*canvas) > areaOf(largest))
                largest = *canvas;
        }
    }
    return largest;
}

// Whether item `itemId` has a 'clap', 'irot' or 'imir' property.
std::optional<bool> transformedOf(const Meta &meta, std::uint32_t itemId)
{
    const Box *iprp = firstOf(meta.children, "iprp");
    if (!iprp)
        return std::nullopt;
    const std::optional<std::vector<QByteArray>> types = propertiesOf(meta.bytes, *iprp, itemId);
    if (!types)
        return std::nullopt;
    return std::any_of(types->begin(), types->end(),
        [](const QByteArray &type) { return type == "clap" || type == "irot" || type == "imir"; });
}

} // namespace

std::optional<HeifCanvas::Item> HeifCanvas::of(const QString &readPath, std::uint32_t itemId)
{
    QFile file(readPath);
    const Meta meta = readMeta(file);
    const std::optional<QSize> canvas = canvasOf(file, meta, itemId);
    if (!canvas)
        return std::nullopt;
    return Item { *canvas, transformedOf(meta, itemId) };
}
