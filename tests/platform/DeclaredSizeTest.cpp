// A file may declare any size in its header: a forged TIFF of 150 bytes says 2147483647 pixels a
// side. Its decode is charged for what that size would take, without wrapping, and refused.
#include <gtest/gtest.h>

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "platform/DecodeBudget.h"
#include "platform/QtImageDecoder.h"
#include "support/TestFiles.h"

namespace
{

// An uncompressed grey TIFF of `bits` a pixel and one strip, declaring `side` x `side` pixels.
QByteArray forgedTiff(quint16 bits, quint32 side)
{
    QByteArray bytes("II*\0", 4);
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    constexpr quint16 kShort = 3, kLong = 4, kEntries = 9;
    out << quint32(8) << kEntries;
    // Tag, type and value of each entry; a short value is padded to four bytes.
    const std::tuple<quint16, quint16, quint32> entries[kEntries]
        = { { 256, kLong, side }, { 257, kLong, side }, { 258, kShort, bits }, { 259, kShort, 1 },
              { 262, kShort, 1 }, { 273, kLong, 8 + 2 + kEntries * 12 + 4 }, { 277, kShort, 1 },
              { 278, kLong, side }, { 279, kLong, 16 } };
    for (const auto &[tag, type, value] : entries) {
        out << tag << type << quint32(1);
        type == kShort ? (out << quint16(value) << quint16(0)) : (out << value);
    }
    out << quint32(0);
    return bytes + QByteArray(16, '\x7f');
}

class DeclaredSizeTest : public ::testing::TestWithParam<quint16>
{
};

TEST_P(DeclaredSizeTest, AHugeDeclaredSizeIsRefusedForWhatItWouldTake)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("forged.tif"));
    ASSERT_TRUE(TestFiles::write(path, forgedTiff(GetParam(), 2147483647)));
    ASSERT_EQ(QtImageDecoder::readHeader(path).size, QSize(2147483647, 2147483647));
    QFile::remove(AppFolders::logFilePath());
    DecodeBudget::shared().takePeak();
    const std::int64_t before = DecodeBudget::shared().inUse();

    EXPECT_TRUE(QtImageDecoder::decodeScaled(path, 256).isNull());
    // Nothing was reserved for it, and the log names what it would take.
    EXPECT_EQ(DecodeBudget::shared().takePeak(), before);
    const QString log = QString::fromUtf8(TestFiles::read(AppFolders::logFilePath()));
    EXPECT_TRUE(log.contains("Image too large to decode (8589934592 MB needed): " + path))
        << log.toStdString();
}

// Grey at eight and sixteen bits a pixel, and black and white at one.
INSTANTIATE_TEST_SUITE_P(Bits, DeclaredSizeTest, ::testing::Values(8, 16, 1));

} // namespace
