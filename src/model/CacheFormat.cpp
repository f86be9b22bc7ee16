#include "model/CacheFormat.h"

#include <bit>
#include <cmath>
#include <cstring>

#include <QTimeZone>

#include "model/FingerprintVariants.h"

const char *const CacheFormat::kDependentTables[] = {
    "hashTable48",
    "hashTable56",
    "hashTable64",
    "hashTable72",
    "hashTable80",
    "hashTable88",
    "hashTable96",
    "md5Table",
};
const int CacheFormat::kDependentTableCount = int(std::size(kDependentTables));

bool CacheFormat::isFingerprintSide(int n)
{
    return n >= 48 && n <= 96 && n % 8 == 0;
}

std::optional<QByteArray> CacheFormat::fingerprintTable(int n)
{
    if (!isFingerprintSide(n))
        return std::nullopt;
    return QByteArray("hashTable") + QByteArray::number(n);
}

qsizetype CacheFormat::fingerprintBytes(int n)
{
    return qsizetype(n) * n;
}

bool CacheFormat::isValidFingerprint(QByteArrayView block, int n)
{
    return isFingerprintSide(n) && block.size() == fingerprintBytes(n);
}

bool CacheFormat::isValidFingerprint(const FingerprintVariants &variants, int n)
{
    return isFingerprintSide(n) && variants.bytesPerPiece() == FingerprintVariants::bytesPerVariant(n)
        && qsizetype(variants.fullCount()) * qsizetype(variants.bytesPerPiece()) == fingerprintBytes(n);
}

bool CacheFormat::isValidMd5(const QByteArray &digest)
{
    if (digest.size() != 32)
        return false;
    for (const char c : digest) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex)
            return false;
    }
    return true;
}

namespace
{

constexpr quint64 kMultiplier = 0x9E3779B97F4A7C15ull;

quint64 mixWord(quint64 hash, quint64 word)
{
    hash ^= word;
    hash *= kMultiplier;
    return hash ^ (hash >> 29);
}

quint64 loadWord(const char *bytes)
{
    quint64 word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

// Four independent lanes keep the multiplier busy; a fetch checks every cached block of a scan.
quint64 mixBytes(quint64 hash, QByteArrayView bytes)
{
    quint64 lanes[4] = { hash, hash ^ 1, hash ^ 2, hash ^ 3 };
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    for (; left >= 32; data += 32, left -= 32) {
        for (int lane = 0; lane < 4; ++lane)
            lanes[lane] = mixWord(lanes[lane], loadWord(data + 8 * lane));
    }
    quint64 result = mixWord(lanes[0], lanes[1]);
    result = mixWord(result, lanes[2]);
    result = mixWord(result, lanes[3]);
    for (; left >= 8; data += 8, left -= 8)
        result = mixWord(result, loadWord(data));
    quint64 tail = 0;
    std::memcpy(&tail, data, size_t(left));
    return mixWord(result, tail ^ (quint64(bytes.size()) << 56));
}

} // namespace

qint64 CacheFormat::checkValue(
    QByteArrayView pathUtf8, quint64 fileSize, double modTime, QByteArrayView block)
{
    quint64 hash = mixBytes(0x514E594300000001ull, pathUtf8);
    hash = mixWord(hash, fileSize);
    hash = mixWord(hash, std::bit_cast<quint64>(modTime));
    hash = mixBytes(hash, block);
    return qint64(mixWord(hash, kMultiplier));
}

double CacheFormat::secondsSince1970(const QDateTime &time)
{
    if (!time.isValid())
        return 0.0;
    return double(time.toMSecsSinceEpoch()) / 1000.0;
}

QDateTime CacheFormat::dateFromSecondsSince1970(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(seconds * 1000.0)), QTimeZone::utc());
}
