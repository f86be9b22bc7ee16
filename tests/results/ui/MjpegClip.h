// Writes a short motion-JPEG AVI clip, so the video preview can be tried on a real file without
// any encoder installed.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtEndian>

namespace MjpegClip
{

inline void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

inline void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

inline QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray out(id, 4);
    put32(out, quint32(data.size()));
    out.append(data);
    if (data.size() % 2)
        out.append('\0');
    return out;
}

inline QByteArray list(const char *type, const QByteArray &data)
{
    return chunk("LIST", QByteArray(type, 4) + data);
}

// `frames` frames of `width` x `height` at `fps`, each a different colour.
inline bool write(const QString &path, int frames = 10, int fps = 5, int width = 64, int height = 48)
{
    QList<QByteArray> jpegs;
    for (int i = 0; i < frames; ++i) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 36) % 360, 255, 255));
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        jpegs.append(jpeg);
    }
    QByteArray avih;
    for (quint32 v : { quint32(1000000 / fps), 0u, 0u, 0x10u, quint32(frames), 0u, 1u, 0u, quint32(width),
             quint32(height), 0u, 0u, 0u, 0u })
        put32(avih, v);
    QByteArray strh("vidsMJPG", 8);
    put32(strh, 0);
    put16(strh, 0);
    put16(strh, 0);
    for (quint32 v : { 0u, 1u, quint32(fps), 0u, quint32(frames), 0u, 0xFFFFFFFFu, 0u })
        put32(strh, v);
    for (quint16 v : { quint16(0), quint16(0), quint16(width), quint16(height) })
        put16(strh, v);
    QByteArray strf;
    put32(strf, 40);
    put32(strf, quint32(width));
    put32(strf, quint32(height));
    put16(strf, 1);
    put16(strf, 24);
    strf.append("MJPG", 4);
    for (quint32 v : { quint32(width * height * 3), 0u, 0u, 0u, 0u })
        put32(strf, v);
    const QByteArray hdrl
        = list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));
    QByteArray movi;
    QByteArray index;
    for (const QByteArray &jpeg : jpegs) {
        index.append("00dc", 4);
        put32(index, 0x10);
        put32(index, quint32(4 + movi.size()));
        put32(index, quint32(jpeg.size()));
        movi.append(chunk("00dc", jpeg));
    }
    const QByteArray body = QByteArray("AVI ", 4) + hdrl + list("movi", movi) + chunk("idx1", index);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(chunk("RIFF", body));
    return true;
}

} // namespace MjpegClip
