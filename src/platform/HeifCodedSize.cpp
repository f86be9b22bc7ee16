// The HEVC sequence parameter set read as far as the coded picture's size, chroma format and bit
// depth, and the probing decoder that collects every such set libheif passes it. For a grid, libheif
// makes its canvas (at the size the grid states) before it hands over the first tile; the probe
// fails that tile, and the canvas goes again.
#include "platform/HeifCodedSize.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

#include <QFile>

namespace
{

constexpr int kSpsNalType = 33;
// The fields read here sit within the first few dozen bytes of a parameter set.
constexpr std::size_t kSpsBytesRead = 512;

// Where the probe running on this thread puts what it read: libheif gives a decoder no pointer of
// the caller's.
thread_local HeifCodedSize::Coded *t_probeResult = nullptr;

// Reads bits of a NAL unit's payload, dropping the emulation prevention bytes (00 00 03).
class BitReader
{
public:
    explicit BitReader(const std::vector<std::uint8_t> &nal)
    {
        int zeros = 0;
        for (std::size_t i = 2; i < nal.size(); ++i) {
            if (zeros >= 2 && nal[i] == 3) {
                zeros = 0;
                continue;
            }
            zeros = nal[i] == 0 ? zeros + 1 : 0;
            m_bytes.push_back(nal[i]);
        }
    }
    bool failed() const { return m_position > m_bytes.size() * 8; }
    std::uint64_t bits(int count)
    {
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i, ++m_position) {
            const std::size_t byte = m_position / 8;
            const int bit = byte < m_bytes.size() ? (m_bytes[byte] >> (7 - m_position % 8)) & 1 : 0;
            value = (value << 1) | std::uint64_t(bit);
        }
        return value;
    }
    std::uint64_t unsignedExpGolomb()
    {
        int leadingZeros = 0;
        while (!failed() && bits(1) == 0 && leadingZeros < 32)
            ++leadingZeros;
        return (std::uint64_t(1) << leadingZeros) - 1 + bits(leadingZeros);
    }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

void skipProfileTierLevel(BitReader &reader, int subLayers)
{
    reader.bits(96); // general profile, tier, compatibility and constraint flags, level
    std::vector<std::pair<bool, bool>> present;
    for (int i = 0; i < subLayers; ++i) {
        const bool profile = reader.bits(1) != 0;
        present.emplace_back(profile, reader.bits(1) != 0);
    }
    if (subLayers > 0)
        reader.bits(2 * (8 - subLayers));
    for (const auto &[profile, level] : present)
        reader.bits((profile ? 88 : 0) + (level ? 8 : 0));
}

// Merges one sequence parameter set into `coded`: the largest size and sample format win.
void readSps(const std::vector<std::uint8_t> &nal, HeifCodedSize::Coded &coded)
{
    BitReader reader(nal);
    reader.bits(4); // video parameter set id
    const int subLayers = int(reader.bits(3));
    reader.bits(1);
    skipProfileTierLevel(reader, subLayers);
    reader.unsignedExpGolomb(); // sequence parameter set id
    const std::uint64_t chromaFormat = reader.unsignedExpGolomb();
    if (chromaFormat == 3)
        reader.bits(1);
    const std::uint64_t width = reader.unsignedExpGolomb();
    const std::uint64_t height = reader.unsignedExpGolomb();
    if (reader.bits(1)) { // conformance window
        for (int i = 0; i < 4; ++i)
            reader.unsignedExpGolomb();
    }
    const std::uint64_t lumaDepth = 8 + reader.unsignedExpGolomb();
    const std::uint64_t chromaDepth = 8 + reader.unsignedExpGolomb();
    if (reader.failed() || width == 0 || height == 0)
        return;
    // A size no int holds still has to be charged as more than any budget.
    constexpr std::uint64_t kLargest = 1 << 30;
    const QSize size(int(std::min(width, kLargest)), int(std::min(height, kLargest)));
    if (qint64(size.width()) * size.height() > qint64(coded.size.width()) * coded.size.height())
        coded.size = size;
    static constexpr int kChromaSamples[] = { 0, 2, 4, 8 };
    coded.chromaSamplesPerPixel
        = std::max(coded.chromaSamplesPerPixel, kChromaSamples[std::min<std::uint64_t>(chromaFormat, 3)]);
    coded.bytesPerSample = std::max(coded.bytesPerSample, std::max(lumaDepth, chromaDepth) > 8 ? 2 : 1);
}

// The probing decoder's state: where it stands in the stream of length-prefixed NAL units.
struct Probe {
    HeifCodedSize::Coded coded;
    std::vector<std::uint8_t> field; // the length being read, or the parameter set being kept
    std::uint64_t nalLeft = 0; // bytes of the current NAL unit still to come
    bool inLength = true;

    void push(const std::uint8_t *data, std::size_t size)
    {
        while (size > 0) {
            if (inLength) {
                field.push_back(*data++);
                --size;
                if (field.size() == 4)
                    startNal();
                continue;
            }
            const bool keep = field.size() < kSpsBytesRead && (field.empty() || isSps());
            const std::size_t taken = keep ? 1 : std::size_t(std::min<std::uint64_t>(nalLeft, size));
            if (keep)
                field.push_back(*data);
            data += taken;
            size -= taken;
            nalLeft -= taken;
            if (nalLeft == 0)
                endNal();
        }
    }
    bool isSps() const { return ((field[0] >> 1) & 0x3f) == kSpsNalType; }
    void startNal()
    {
        nalLeft = (std::uint64_t(field[0]) << 24) | (field[1] << 16) | (field[2] << 8) | field[3];
        field.clear();
        inLength = nalLeft == 0;
    }
    void endNal()
    {
        if (!field.empty() && isSps())
            readSps(field, coded);
        field.clear();
        inLength = true;
    }
};

heif_error result(heif_error_code code, const char *message)
{
    return { code, heif_suberror_Unspecified, message };
}

// Registered with a context of its own at the highest priority, so every stream of that context
// comes here and none is decoded: HEVC streams are read, streams of other formats only dropped.
heif_decoder_plugin probePlugin(bool hevc)
{
    heif_decoder_plugin p {};
    p.plugin_api_version = 3;
    p.get_plugin_name = [] { return "coded size probe"; };
    p.does_support_format = hevc
        ? [](heif_compression_format format) { return format == heif_compression_HEVC ? 1 << 20 : 0; }
        : [](heif_compression_format format) { return format == heif_compression_HEVC ? 0 : 1 << 20; };
    p.new_decoder = [](void **decoder) {
        *decoder = new Probe;
        return result(heif_error_Ok, "");
    };
    p.free_decoder = [](void *decoder) { delete static_cast<Probe *>(decoder); };
    p.push_data = hevc ? [](void *decoder, const void *data, std::size_t size) {
        static_cast<Probe *>(decoder)->push(static_cast<const std::uint8_t *>(data), size);
        return result(heif_error_Ok, "");
    }
                       : [](void *, const void *, std::size_t) { return result(heif_error_Ok, ""); };
    // The probe reads; it never makes a picture. What it read goes to the caller's slot.
    p.decode_image = [](void *decoder, heif_image **image) {
        *image = nullptr;
        if (t_probeResult)
            *t_probeResult = static_cast<const Probe *>(decoder)->coded;
        return result(heif_error_Decoder_plugin_error, "probed");
    };
    p.set_strict_decoding = [](void *, int) {};
    p.id_name = "quennary-coded-size";
    return p;
}

struct ContextFree {
    void operator()(heif_context *context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); }
};
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;

Handle handleOf(heif_context *context, std::uint32_t thumbnailId)
{
    heif_image_handle *primary = nullptr;
    if (heif_context_get_primary_image_handle(context, &primary).code != heif_error_Ok)
        return nullptr;
    Handle owned(primary);
    if (thumbnailId == 0)
        return owned;
    heif_image_handle *thumbnail = nullptr;
    if (heif_image_handle_get_thumbnail(primary, thumbnailId, &thumbnail).code != heif_error_Ok)
        return nullptr;
    return Handle(thumbnail);
}

} // namespace

HeifCodedSize::Coded HeifCodedSize::of(const QString &readPath, std::uint32_t thumbnailId)
{
    static const heif_decoder_plugin hevcProbe = probePlugin(true);
    static const heif_decoder_plugin otherProbe = probePlugin(false);
    Coded coded;
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context)
        return coded;
    heif_register_decoder(context.get(), &hevcProbe);
    heif_register_decoder(context.get(), &otherProbe);
    // The tiles of a grid one at a time, on this thread, where the probe finds the caller's slot.
    heif_context_set_max_decoding_threads(context.get(), 0);
    if (heif_context_read_from_file(context.get(), QFile::encodeName(readPath).constData(), nullptr).code
        != heif_error_Ok)
        return coded;
    const Handle handle = handleOf(context.get(), thumbnailId);
    if (!handle)
        return coded;
    t_probeResult = &coded;
    heif_image *image = nullptr;
    heif_decode_image(handle.get(), &image, heif_colorspace_undefined, heif_chroma_undefined, nullptr);
    t_probeResult = nullptr;
    if (image)
        heif_image_release(image);
    return coded;
}
