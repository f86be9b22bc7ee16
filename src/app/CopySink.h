// Where a download streams its body: every byte goes on to the file and through the digest, if
// any, and is counted, so the copy can be judged whole before the file is kept.
#pragma once

#include <QIODevice>

class ContentDigest;

class CopySink : public QIODevice
{
public:
    // `target` is open for writing; `digest` may be null. Both outlive the sink.
    CopySink(QIODevice &target, ContentDigest *digest);

    qint64 written() const { return m_written; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    QIODevice &m_target;
    ContentDigest *m_digest;
    qint64 m_written = 0;
};
