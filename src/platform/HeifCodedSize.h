// What libheif's decoder will really allocate for an image: the size coded in the HEVC stream's
// sequence parameter sets, which a file may state differently in its 'ispe' box. The file is opened
// in a libheif context of its own whose only decoders are ours: they read those sets and decode
// nothing, so the stream read is exactly the one the real decoder would get.
#pragma once

#include <cstdint>

#include <QSize>
#include <QString>

class HeifCodedSize
{
public:
    struct Coded {
        QSize size; // largest picture any parameter set of the stream declares; empty when unknown
        int chromaSamplesPerPixel = 2; // in quarters of a luma sample: 2 (4:2:0), 4 (4:2:2), 8 (4:4:4)
        int bytesPerSample = 1;
    };

    // The coded picture of the file's primary image, or of its thumbnail `thumbnailId` when not 0,
    // read without decoding it. For a grid, that of its first tile. Unknown (an empty size) for
    // streams other than HEVC or whose parameter sets cannot be read.
    static Coded of(const QString &readPath, std::uint32_t thumbnailId = 0);
};
