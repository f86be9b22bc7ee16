// A file may declare any size in its header: a forged TIFF of 150 bytes says 2147483647 pixels a
// side. Its decode is charged for what that size would take, without wrapping, and refused.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "platform/AppFolders.h"
#include "platform/DecodeBudget.h"
#include "platform/QtImageDecoder.h"

namespace
{

struct Forged {
    const char *name;
    quint16 bits;
};

void put16(QByteArray &bytes, quint16 value)
{
    const quint16 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&little), 2);
}

void put32(QByteArray &bytes, quint32 value)
{
    const quint32 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&little), 4);
}

// An uncompressed grey TIFF of one strip whose header declares `side` x `side` pixels.
QByteArray forgedTiff(const Forged &forged, quint32 side)
{
    constexpr quint16 kShort = 3, kLong = 4;
    const quint16 entries = 9;
    const quint32 dataAt = 8 + 2 + entries * 12 + 4;
    QByteArray bytes("II*\0", 4);
    put32(bytes, 8);
    put16(bytes, entries);
    const auto entry = [&bytes](quint16 tag, quint16 type, quint32 count, quint32 value) {
        put16(bytes, tag), put16(bytes, type), put32(bytes, count);
        type == kShort ? (put16(bytes, quint16(value)), put16(bytes, 0)) : put32(bytes, value);
    };
    entry(256, kLong, 1, side);
    entry(257, kLong, 1, side);
    entry(258, kShort, 1, forged.bits);
    entry(259, kShort, 1, 1);
    entry(262, kShort, 1, 1);
    entry(273, kLong, 1, dataAt);
    entry(277, kShort, 1, 1);
    entry(278, kLong, 1, side);
    entry(279, kLong, 1, 16);
    put32(bytes, 0);
    return bytes + QByteArray(16, '\x7f');
}

class DeclaredSizeTest : public ::testing::TestWithParam<Forged>
{
};

TEST_P(DeclaredSizeTest, AHugeDeclaredSizeIsRefusedForWhatItWouldTake)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("%1.tif").arg(GetParam().name));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(forgedTiff(GetParam(), 2147483647)) > 0);
    file.close();
    ASSERT_EQ(QtImageDecoder::readHeader(path).size, QSize(2147483647, 2147483647));
    QFile::remove(AppFolders::logFilePath());
    DecodeBudget::shared().takePeak();
    const std::int64_t before = DecodeBudget::shared().inUse();

    EXPECT_TRUE(QtImageDecoder::decodeScaled(path, 256).isNull());
    // Nothing was reserved for it, and the log names the size it would take.
    EXPECT_EQ(DecodeBudget::shared().takePeak(), before);
    QFile log(AppFolders::logFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(lines.contains(QStringLiteral("Image too large to decode (8589934592 MB needed): ") + path))
        << lines.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tiffs, DeclaredSizeTest,
    ::testing::Values(Forged { "grey", 8 }, Forged { "deep", 16 }, Forged { "bilevel", 1 }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
