// Dropbox's content hash, summed as the bytes stream in: SHA-256 over the concatenated SHA-256
// digests of each 4 MiB block of the file.
#pragma once

#include <QCryptographicHash>

#include "platform/ContentDigest.h"

class DropboxContentHash : public ContentDigest
{
public:
    static constexpr qint64 kBlockBytes = 4 * 1024 * 1024;

    DropboxContentHash();

    void addData(QByteArrayView bytes) override;
    QString result() override;

private:
    void closeBlock();

    QCryptographicHash m_block;
    QCryptographicHash m_whole;
    qint64 m_inBlock = 0;
};
