// What libheif's decoder will really allocate for an image: the size coded in the HEVC stream's
// sequence parameter sets, which a file may state differently in its 'ispe' box. libheif hands the
// stream to a decoder of our own that only reads those sets and decodes nothing, so the stream
// read is exactly the one the real decoder would get.
#pragma once

#include <QSize>

struct heif_image_handle;

class HeifCodedSize
{
public:
    struct Coded {
        QSize size; // largest picture any parameter set of the stream declares; empty when unknown
        int chromaSamplesPerPixel = 2; // in quarters of a luma sample: 2 (4:2:0), 4 (4:2:2), 8 (4:4:4)
        int bytesPerSample = 1;
    };

    // Registers the probe with libheif, whose list of decoders must not change while another thread
    // decodes: called before any file is opened. Further calls do nothing.
    static void prepare();
    // The coded picture of `handle`, read without decoding it. Unknown (an empty size) for streams
    // other than HEVC or whose parameter sets cannot be read.
    static Coded of(const heif_image_handle *handle);
};
