#include "app/CopySink.h"

#include "platform/ContentDigest.h"

CopySink::CopySink(QIODevice &target, ContentDigest *digest)
    : m_target(target)
    , m_digest(digest)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 CopySink::readData(char *, qint64)
{
    return -1;
}

qint64 CopySink::writeData(const char *data, qint64 size)
{
    const qint64 written = m_target.write(data, size);
    if (written != size)
        return -1;
    if (m_digest)
        m_digest->addData(QByteArrayView(data, size));
    m_written += size;
    return size;
}
