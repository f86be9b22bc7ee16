// Writes small, real DNG files for the raw tests: a little-endian TIFF with a colour-filter-array
// picture (RGGB, 16 bits, uncompressed) and, optionally, an 8-bit RGB preview in IFD0 with the raw
// picture in a sub-IFD, the layout cameras and converters write.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include <QByteArray>
#include <QImage>
#include <QtEndian>

namespace ImageSourceDng
{

enum Type : uint16_t { Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5, SRational = 10 };

class Ifd
{
public:
    void add(uint16_t tag, Type type, uint32_t count, const QByteArray &data)
    {
        entries_[tag] = { type, count, data };
    }
    void shorts(uint16_t tag, std::vector<uint16_t> values)
    {
        QByteArray data;
        for (uint16_t v : values)
            data.append(le(v));
        add(tag, Short, uint32_t(values.size()), data);
    }
    void longs(uint16_t tag, std::vector<uint32_t> values)
    {
        QByteArray data;
        for (uint32_t v : values)
            data.append(le(v));
        add(tag, Long, uint32_t(values.size()), data);
    }
    void bytes(uint16_t tag, std::vector<uint8_t> values)
    {
        add(tag, Byte, uint32_t(values.size()),
            QByteArray(reinterpret_cast<const char *>(values.data()), int(values.size())));
    }
    void text(uint16_t tag, const QByteArray &value)
    {
        add(tag, Ascii, uint32_t(value.size() + 1), value + '\0');
    }
    void rationals(uint16_t tag, Type type, std::vector<std::pair<int32_t, int32_t>> values)
    {
        QByteArray data;
        for (const auto &[n, d] : values)
            data.append(le(uint32_t(n))).append(le(uint32_t(d)));
        add(tag, type, uint32_t(values.size()), data);
    }

    // The IFD as bytes placed at file offset `at`; `next` is the offset of the following IFD.
    QByteArray serialize(uint32_t at, uint32_t next = 0) const
    {
        const uint32_t tableSize = 2 + 12 * uint32_t(entries_.size()) + 4;
        QByteArray table = le(uint16_t(entries_.size()));
        QByteArray extra;
        for (const auto &[tag, entry] : entries_) {
            table.append(le(tag)).append(le(uint16_t(entry.type))).append(le(entry.count));
            if (entry.data.size() <= 4) {
                table.append(entry.data.leftJustified(4, '\0'));
            } else {
                table.append(le(uint32_t(at + tableSize + extra.size())));
                extra.append(entry.data);
                if (extra.size() % 2)
                    extra.append('\0');
            }
        }
        table.append(le(next));
        return table + extra;
    }

private:
    template <typename T> static QByteArray le(T value)
    {
        value = qToLittleEndian(value);
        return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
    }
    struct Entry {
        Type type;
        uint32_t count;
        QByteArray data;
    };
    std::map<uint16_t, Entry> entries_;
};

// The colour-filter mosaic of `picture`: each site keeps the channel its filter passes.
inline QByteArray mosaic(const QImage &picture)
{
    QByteArray data;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            const int site = (y % 2) * 2 + (x % 2); // R G / G B
            const int value = site == 0 ? c.red() : site == 3 ? c.blue() : c.green();
            const uint16_t sample = qToLittleEndian(uint16_t(value * 16)); // 12-bit data
            data.append(reinterpret_cast<const char *>(&sample), 2);
        }
    }
    return data;
}

inline QByteArray rgbBytes(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray data;
    for (int y = 0; y < rgb.height(); ++y)
        data.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    return data;
}

inline void describeCamera(Ifd &ifd, int orientation)
{
    ifd.text(271, "Quennary");
    ifd.text(272, "Test Camera");
    ifd.shorts(274, { uint16_t(orientation) });
    ifd.bytes(50706, { 1, 4, 0, 0 });
    ifd.text(50708, "Quennary Test Camera");
    // Camera space is linear sRGB: the XYZ to linear sRGB (D65) matrix, scaled by 10000.
    ifd.rationals(50721, SRational,
        { { 32406, 10000 }, { -15372, 10000 }, { -4986, 10000 }, { -9689, 10000 }, { 18758, 10000 },
            { 415, 10000 }, { 557, 10000 }, { -2040, 10000 }, { 10570, 10000 } });
    ifd.shorts(50778, { 21 });
    ifd.rationals(50728, Rational, { { 1, 1 }, { 1, 1 }, { 1, 1 } });
}

inline void describeRaw(Ifd &ifd, const QSize &size, uint32_t stripOffset, uint32_t stripBytes)
{
    ifd.longs(254, { 0 });
    ifd.longs(256, { uint32_t(size.width()) });
    ifd.longs(257, { uint32_t(size.height()) });
    ifd.shorts(258, { 16 });
    ifd.shorts(259, { 1 });
    ifd.shorts(262, { 32803 });
    ifd.longs(273, { stripOffset });
    ifd.shorts(277, { 1 });
    ifd.longs(278, { uint32_t(size.height()) });
    ifd.longs(279, { stripBytes });
    ifd.shorts(284, { 1 });
    ifd.shorts(33421, { 2, 2 });
    ifd.bytes(33422, { 0, 1, 1, 2 });
    ifd.longs(50717, { 4095 });
}

// The header and tables of a DNG whose raw picture of `stored` starts at byte 8, followed by an
// 8-bit RGB `preview` when not empty; the tables start at `at`, right after both.
inline std::pair<QByteArray, QByteArray> headerAndTables(
    const QSize &stored, int orientation, const QSize &preview, uint32_t at)
{
    const uint32_t rawOffset = 8, rawBytes = uint32_t(stored.width()) * uint32_t(stored.height()) * 2;
    const uint32_t previewOffset = rawOffset + rawBytes;
    QByteArray file;
    Ifd rawIfd;
    describeRaw(rawIfd, stored, rawOffset, rawBytes);
    uint32_t ifd0Offset = at;
    if (!preview.isEmpty()) {
        file.append(rawIfd.serialize(at));
        ifd0Offset = at + uint32_t(file.size());
        Ifd ifd0;
        ifd0.longs(254, { 1 });
        ifd0.longs(256, { uint32_t(preview.width()) });
        ifd0.longs(257, { uint32_t(preview.height()) });
        ifd0.shorts(258, { 8, 8, 8 });
        ifd0.shorts(259, { 1 });
        ifd0.shorts(262, { 2 });
        ifd0.longs(273, { previewOffset });
        ifd0.shorts(277, { 3 });
        ifd0.longs(278, { uint32_t(preview.height()) });
        ifd0.longs(279, { uint32_t(preview.width()) * uint32_t(preview.height()) * 3 });
        ifd0.shorts(284, { 1 });
        ifd0.longs(330, { at });
        describeCamera(ifd0, orientation);
        file.append(ifd0.serialize(ifd0Offset));
    } else {
        describeCamera(rawIfd, orientation);
        file.append(rawIfd.serialize(ifd0Offset));
    }
    const uint32_t header = qToLittleEndian(ifd0Offset);
    return { QByteArray("II*\0", 4) + QByteArray(reinterpret_cast<const char *>(&header), 4), file };
}

// A DNG of `stored` (the picture as the sensor saw it) with EXIF orientation `orientation`; with a
// `preview`, that preview is IFD0 and the raw picture a sub-IFD.
inline QByteArray dng(const QImage &stored, int orientation, const QImage &preview = QImage())
{
    const QByteArray data = mosaic(stored) + (preview.isNull() ? QByteArray() : rgbBytes(preview));
    const auto [head, ifds]
        = headerAndTables(stored.size(), orientation, preview.size(), 8 + uint32_t(data.size()));
    return head + data + ifds;
}

} // namespace ImageSourceDng
