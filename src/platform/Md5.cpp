#include "platform/Md5.h"

#include "platform/Md5Files.h"

std::optional<QString> Md5::ofFile(const QString &path, const std::atomic<bool> *stop)
{
    std::optional<QString> sum;
    Md5Files({ path }, stop, Md5Lanes::Kernel::Scalar).run([&sum](qsizetype, std::optional<QString> digest) {
        sum = std::move(digest);
    });
    return sum;
}

QString Md5::hexString(const QByteArray &digest)
{
    return QString::fromLatin1(digest.toHex());
}
