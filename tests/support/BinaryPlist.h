// The binary form of an XML property list, as another program would write it (shared by the
// tests and the benchmarks).
#pragma once

#include <cstdlib>

#include <plist/plist.h>

#include <QByteArray>

namespace BinaryPlist
{

inline QByteArray fromXml(const QByteArray &xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    const QByteArray binary(bytes, qsizetype(length));
    std::free(bytes);
    plist_free(root);
    return binary;
}

} // namespace BinaryPlist
