// One file of a listed cloud folder as the folder tree keeps it between scans: what a scan's record
// is made from (path, name, identifier, revision, content hash, size, dates) and nothing more, its
// texts in one UTF-8 block. A folder of a hundred thousand photos costs a few hundred bytes each.
#pragma once

#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QString>

class CloudListedFile
{
public:
    struct Fields {
        // The provider's path of the file, "/" first.
        QString path;
        // Empty or the path's last part: taken from the path.
        QString name;
        QString id;
        QString rev;
        QString contentHash;
        quint64 size = 0;
        QDateTime created;
        QDateTime modified;
    };

    // Nothing when a text is too long to be a real file's.
    static std::optional<CloudListedFile> make(const Fields &fields);

    QString path() const;
    QString name() const;
    QString id() const;
    QString rev() const;
    QString contentHash() const;
    quint64 size() const { return m_size; }
    QDateTime created() const { return m_created; }
    QDateTime modified() const { return m_modified; }
    // What holding it costs: the entry and its texts.
    qint64 heldBytes() const;

private:
    QString part(int from, int length) const;

    // id, rev, content hash, name (when not the path's last part), path.
    QByteArray m_text;
    quint16 m_idBytes = 0;
    quint16 m_revBytes = 0;
    quint16 m_hashBytes = 0;
    quint16 m_nameBytes = 0;
    quint64 m_size = 0;
    QDateTime m_created;
    QDateTime m_modified;
};
