#include "model/CacheFormat.h"

#include <cmath>

#include <QTimeZone>

const char *const CacheFormat::kDependentTables[] = {
    "hashTable48", "hashTable56", "hashTable64", "hashTable72",
    "hashTable80", "hashTable88", "hashTable96", "md5Table",
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

bool CacheFormat::isValidFingerprint(const QByteArray &block, int n)
{
    return isFingerprintSide(n) && block.size() == fingerprintBytes(n);
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
