// Which image file types this build can decode: those of the Qt image plug-ins installed, the HEIF
// types of libheif and the camera raw types of LibRaw. Lists of types offered to the user keep to it.
#pragma once

#include <QString>
#include <QStringList>

class DecodableTypes
{
public:
    // `extension` without its dot, in any case.
    static bool canDecode(const QString &extension);
    // True when any of `extensions` can be decoded.
    static bool anyDecodable(const QStringList &extensions);
};
