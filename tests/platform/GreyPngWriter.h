// Writes large greyscale PNGs of horizontal bands without holding their pixels: the compressed
// stream is made by hand (fixed Huffman codes, each row one literal and then copies of the byte
// before), so a 16000 x 16000 picture is a file of a few megabytes made in a moment.
#pragma once

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace GreyPngWriter
{

class BitWriter
{
public:
    QByteArray bytes;
    // Adds `count` bits of `value`, lowest first.
    void bits(quint32 value, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (m_used == 0)
                bytes.append('\0');
            if (value & (1u << i))
                bytes.back() = char(quint8(bytes.back()) | (1u << m_used));
            m_used = (m_used + 1) % 8;
        }
    }
    // Adds a Huffman code, highest bit first.
    void code(quint32 value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            bits((value >> i) & 1u, 1);
    }
    void literal(quint8 byte) { byte < 144 ? code(0x30u + byte, 8) : code(0x190u + (byte - 144u), 9); }
    // A copy of 258 bytes from one byte back: length symbol 285, distance code 0.
    void copy258()
    {
        code(0xC0u + (285 - 280), 8);
        code(0, 5);
    }

private:
    int m_used = 0;
};

inline quint32 crc32(const QByteArray &data)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t {};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : data)
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

inline QByteArray bigEndian(quint32 value)
{
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char((value >> (24 - 8 * i)) & 0xFF);
    return out;
}

inline QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc32(typed));
}

// Row y has the grey value bandValue(y); eight bands from dark to light.
inline quint8 bandValue(int y, int height)
{
    return quint8(20 + (y * 8 / height) * 30);
}

inline bool write(const QString &path, int width, int height)
{
    BitWriter deflate;
    deflate.bits(1, 1); // the last block
    deflate.bits(1, 2); // fixed Huffman codes
    quint64 a = 1;
    quint64 b = 0;
    constexpr quint64 kMod = 65521;
    for (int y = 0; y < height; ++y) {
        const quint8 value = bandValue(y, height);
        deflate.literal(0); // filter: none
        deflate.literal(value);
        int left = width - 1;
        for (; left >= 258; left -= 258)
            deflate.copy258();
        for (; left > 0; --left)
            deflate.literal(value);
        // Adler-32 of the filter byte and then `width` equal bytes.
        b = (b + a) % kMod;
        const quint64 n = quint64(width);
        b = (b + (n % kMod) * a + quint64(value) * ((n * (n + 1) / 2) % kMod)) % kMod;
        a = (a + n * value) % kMod;
    }
    deflate.code(0, 7); // end of block
    const QByteArray zlib = QByteArray("\x78\x01", 2) + deflate.bytes + bigEndian(quint32((b << 16) | a));
    QByteArray header = bigEndian(quint32(width)) + bigEndian(quint32(height));
    header += QByteArray("\x08\x00\x00\x00\x00", 5); // 8-bit grey, no interlace
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArray("\x89PNG\r\n\x1a\n", 8));
    file.write(chunk("IHDR", header));
    file.write(chunk("IDAT", zlib));
    file.write(chunk("IEND", QByteArray()));
    return file.error() == QFile::NoError;
}

} // namespace GreyPngWriter
