// Resampling of small pictures for fingerprints. A copy of a photo (half size, re-encoded, turned or
// mirrored) must give the same few thousand bits as the photo itself, so every step is a proper
// low-pass filter that treats both axes and both directions of an axis alike: a windowed sinc
// (Lanczos, three lobes) widened by the reduction factor, on sample centres. With the decoder's
// quick reduction and Qt's smooth scaling straight to the side, a mirrored or turned copy came out
// measurably different.
// Safe on worker threads: no shared state.
#pragma once

#include <QImage>
#include <QSize>

class ThumbnailResampler
{
public:
    // The picture resampled to `target` (stretched when the proportions differ), drawn over black
    // as an opaque bitmap context would draw it: transparent parts come out dark. Format_RGB32;
    // null when the picture is null or the target empty.
    static QImage resampled(const QImage &image, const QSize &target);
};
