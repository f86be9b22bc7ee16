// The canvas a derived HEIF image (a tiled 'grid' or an 'iovl' overlay) states in its own item
// data. libheif allocates that canvas before it decodes a single tile, whatever the item's 'ispe'
// box says, so the decode is charged for it; it is read here from the file's boxes, without
// libheif, so nothing is allocated for it.
#pragma once

#include <cstdint>
#include <optional>

#include <QSize>
#include <QString>

class HeifCanvas
{
public:
    // The largest canvas item `itemId` states; an empty size when the item is coded, not derived.
    // Nothing when the file's item boxes cannot be read.
    static std::optional<QSize> of(const QString &readPath, std::uint32_t itemId);
    // Whether libheif crops, turns or mirrors the picture of item `itemId` (an associated 'clap',
    // 'irot' or 'imir' property). Nothing when the file's property boxes cannot be read.
    static std::optional<bool> isTransformed(const QString &readPath, std::uint32_t itemId);
};
