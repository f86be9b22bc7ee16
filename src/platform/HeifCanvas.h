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
    struct Item {
        // The largest canvas the item states; an empty size when it is coded, not derived.
        QSize canvas;
        // Whether libheif crops, turns or mirrors its picture (an associated 'clap', 'irot' or
        // 'imir' property); nothing when the file's property boxes cannot be read.
        std::optional<bool> transformed;
    };
    // Item `itemId` as the file's boxes state it, read once. Nothing when its item boxes cannot
    // be read.
    static std::optional<Item> of(const QString &readPath, std::uint32_t itemId);
};
