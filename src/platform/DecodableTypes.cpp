#include "platform/DecodableTypes.h"

#include <algorithm>

#include <QImageReader>
#include <QSet>

#include "platform/RawDecoder.h"

namespace
{

// Files whose content is of a type Qt reads, under a name of their own: they are read by content.
QString contentType(const QString &extension)
{
    static const QSet<QString> &jpegNames
        = *new QSet<QString> { QStringLiteral("jpe"), QStringLiteral("mpo") };
    return jpegNames.contains(extension) ? QStringLiteral("jpeg") : extension;
}

} // namespace

bool DecodableTypes::canDecode(const QString &extension)
{
    const QString type = extension.toLower();
    static const QSet<QString> &heif
        = *new QSet<QString> { QStringLiteral("heic"), QStringLiteral("heif"), QStringLiteral("hif") };
    if (heif.contains(type) || RawDecoder::isRawExtension(QStringLiteral("x.") + type))
        return true;
    static const QList<QByteArray> &qtTypes = *new QList<QByteArray>(QImageReader::supportedImageFormats());
    return qtTypes.contains(contentType(type).toLatin1());
}

bool DecodableTypes::anyDecodable(const QStringList &extensions)
{
    return std::any_of(extensions.begin(), extensions.end(), &DecodableTypes::canDecode);
}
