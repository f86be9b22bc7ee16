#include "cloud/DropboxContentHash.h"

#include <algorithm>

DropboxContentHash::DropboxContentHash()
    : m_block(QCryptographicHash::Sha256)
    , m_whole(QCryptographicHash::Sha256)
{
}

void DropboxContentHash::addData(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qsizetype take = qsizetype(std::min<qint64>(bytes.size(), kBlockBytes - m_inBlock));
        m_block.addData(bytes.first(take));
        m_inBlock += take;
        bytes = bytes.sliced(take);
        if (m_inBlock == kBlockBytes)
            closeBlock();
    }
}

void DropboxContentHash::closeBlock()
{
    m_whole.addData(m_block.result());
    m_block.reset();
    m_inBlock = 0;
}

QString DropboxContentHash::result()
{
    // A last, shorter block counts; an empty file is the digest of no blocks.
    if (m_inBlock > 0)
        closeBlock();
    return QString::fromLatin1(m_whole.result().toHex());
}
