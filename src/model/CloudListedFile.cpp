#include "model/CloudListedFile.h"

#include <limits>

namespace
{

constexpr qsizetype kMaxPartBytes = std::numeric_limits<quint16>::max();

QString lastPart(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

std::optional<CloudListedFile> CloudListedFile::make(const Fields &fields)
{
    const QByteArray id = fields.id.toUtf8();
    const QByteArray rev = fields.rev.toUtf8();
    const QByteArray hash = fields.contentHash.toUtf8();
    const QByteArray name = fields.name == lastPart(fields.path) ? QByteArray() : fields.name.toUtf8();
    const QByteArray path = fields.path.toUtf8();
    for (const QByteArray *part : { &id, &rev, &hash, &name, &path }) {
        if (part->size() > kMaxPartBytes)
            return std::nullopt;
    }
    CloudListedFile file;
    file.m_text.reserve(id.size() + rev.size() + hash.size() + name.size() + path.size());
    file.m_text.append(id).append(rev).append(hash).append(name).append(path);
    file.m_idBytes = quint16(id.size());
    file.m_revBytes = quint16(rev.size());
    file.m_hashBytes = quint16(hash.size());
    file.m_nameBytes = quint16(name.size());
    file.m_size = fields.size;
    file.m_created = fields.created;
    file.m_modified = fields.modified;
    return file;
}

QString CloudListedFile::part(int from, int length) const
{
    return QString::fromUtf8(m_text.constData() + from, length);
}

QString CloudListedFile::id() const
{
    return part(0, m_idBytes);
}

QString CloudListedFile::rev() const
{
    return part(m_idBytes, m_revBytes);
}

QString CloudListedFile::contentHash() const
{
    return part(m_idBytes + m_revBytes, m_hashBytes);
}

QString CloudListedFile::path() const
{
    const int from = m_idBytes + m_revBytes + m_hashBytes + m_nameBytes;
    return part(from, int(m_text.size()) - from);
}

QString CloudListedFile::name() const
{
    return m_nameBytes > 0 ? part(m_idBytes + m_revBytes + m_hashBytes, m_nameBytes) : lastPart(path());
}

qint64 CloudListedFile::heldBytes() const
{
    // The block's allocation carries a header of its own.
    return qint64(sizeof(CloudListedFile)) + (m_text.isEmpty() ? 0 : m_text.capacity() + 16);
}
