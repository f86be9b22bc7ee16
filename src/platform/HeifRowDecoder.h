// An HEVC decoder for libheif that hands it the picture already reduced. It decodes the stream with
// libde265 as libheif's own decoder does, converts each row to RGB exactly as libheif 1.15 makes its
// RGB planes, and reduces the rows as they come: neither libheif's copy of the decoder's planes nor
// an RGB plane of the whole picture is made. libheif uses it only where a decode names it, and it
// declines (an error, nothing decoded) what it does not convert: depths other than 8 bits,
// monochrome, and colour matrices that are not luma-weighted sums.
//
// The reduced picture goes through libheif unchanged only when libheif neither crops, turns nor
// mirrors it and the file states no colour profile of its own; callers keep to such items.
#pragma once

class HeifRowDecoder
{
public:
    // Held on one thread around a decode that names the decoder: the size to reduce to, and
    // afterwards what the decoder did with the picture.
    class Request
    {
    public:
        enum class Outcome { NoPicture, Made, Declined };

        explicit Request(int maxPixelSize);
        ~Request();
        Request(const Request &) = delete;
        Request &operator=(const Request &) = delete;

        int maxPixelSize() const { return m_maxPixelSize; }
        Outcome outcome() const { return m_outcome; }
        // The decoder's own call.
        void setOutcome(Outcome outcome) { m_outcome = outcome; }

    private:
        friend class HeifRowDecoder;
        int m_maxPixelSize;
        Outcome m_outcome = Outcome::NoPicture;
        Request *m_outer;
    };

    // The decoder's name for heif_decoding_options::decoder_id; registers it with libheif at first.
    static const char *id();

    // The request held on this thread, or null.
    static Request *current();
};
