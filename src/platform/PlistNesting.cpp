#include "platform/PlistNesting.h"

#include <algorithm>
#include <vector>

namespace
{

quint64 bigEndian(const char *bytes, int width)
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(bytes[i]);
    return value;
}

struct BinaryLayout {
    const QByteArray &bytes;
    int offsetWidth = 0;
    int refWidth = 0;
    quint64 objectCount = 0;
    quint64 topObject = 0;
    quint64 offsetTable = 0;

    bool read()
    {
        if (bytes.size() < 40)
            return false;
        const char *trailer = bytes.constData() + bytes.size() - 32;
        offsetWidth = quint8(trailer[6]);
        refWidth = quint8(trailer[7]);
        objectCount = bigEndian(trailer + 8, 8);
        topObject = bigEndian(trailer + 16, 8);
        offsetTable = bigEndian(trailer + 24, 8);
        const quint64 size = quint64(bytes.size());
        return offsetWidth >= 1 && offsetWidth <= 8 && refWidth >= 1 && refWidth <= 8 && objectCount > 0
            && objectCount < size && topObject < objectCount && offsetTable < size
            && objectCount * quint64(offsetWidth) <= size - offsetTable;
    }
    qint64 offsetOf(quint64 object) const
    {
        const quint64 at = bigEndian(bytes.constData() + offsetTable + object * offsetWidth, offsetWidth);
        return at < quint64(bytes.size()) ? qint64(at) : -1;
    }
    // The objects a container refers to; empty for every other kind.
    bool children(quint64 object, std::vector<quint64> &out) const
    {
        out.clear();
        const qint64 at = offsetOf(object);
        if (at < 0)
            return false;
        const quint8 marker = quint8(bytes[at]);
        const int kind = marker >> 4;
        if (kind != 0xA && kind != 0xC && kind != 0xD)
            return true;
        quint64 count = marker & 0x0F;
        qint64 refs = at + 1;
        if (count == 0x0F) {
            if (refs >= bytes.size() || (quint8(bytes[refs]) >> 4) != 0x1)
                return false;
            const int width = 1 << (quint8(bytes[refs]) & 0x0F);
            if (width > 8 || refs + 1 + width > bytes.size())
                return false;
            count = bigEndian(bytes.constData() + refs + 1, width);
            refs += 1 + width;
        }
        // A dictionary lists its keys, then its values.
        const quint64 refCount = kind == 0xD ? count * 2 : count;
        if (refCount > quint64(bytes.size()) || quint64(refs) + refCount * refWidth > quint64(bytes.size()))
            return false;
        out.reserve(size_t(refCount));
        for (quint64 i = 0; i < refCount; ++i) {
            const quint64 child = bigEndian(bytes.constData() + refs + i * refWidth, refWidth);
            if (child >= objectCount)
                return false;
            out.push_back(child);
        }
        return true;
    }
};

} // namespace

bool PlistNesting::isWithin(const QByteArray &bytes, int maxDepth, quint64 maxNodes)
{
    if (bytes.startsWith("bplist"))
        return binaryIsWithin(bytes, maxDepth, maxNodes);
    return xmlIsWithin(bytes, maxDepth, maxNodes);
}

// Counts open elements; "<?", "<!" (comments, DOCTYPE) and "<x/>" leave the depth as it is. Text
// cannot hold a bare '<', so every one starts markup. Every element counts as a value: XML has no
// shared references, so nothing unfolds further.
bool PlistNesting::xmlIsWithin(const QByteArray &bytes, int maxDepth, quint64 maxNodes)
{
    int depth = 0;
    quint64 elements = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] != '<' || i + 1 >= size)
            continue;
        const char next = bytes[i + 1];
        if (next == '?' || next == '!')
            continue;
        if (next == '/') {
            --depth;
            continue;
        }
        const qsizetype close = bytes.indexOf('>', i + 1);
        if (close < 0)
            break;
        if (++elements > maxNodes || (bytes[close - 1] != '/' && ++depth > maxDepth))
            return false;
        i = close;
    }
    return true;
}

// The depth and unfolded size of every object, found without recursion: a walk with its own
// stack, each object entered once and its height and size remembered for every other container
// that shares it; an object met again while it is still being entered closes a circle. Sizes stop
// growing just past the cap, so the sums cannot overflow.
bool PlistNesting::binaryIsWithin(const QByteArray &bytes, int maxDepth, quint64 maxNodes)
{
    BinaryLayout layout { bytes };
    if (!layout.read())
        return true; // malformed: the parser refuses it, without recursing
    enum : quint8 { Unseen, Open, Done };
    std::vector<quint8> state(size_t(layout.objectCount), Unseen);
    std::vector<int> height(size_t(layout.objectCount), 0);
    std::vector<quint64> size(size_t(layout.objectCount), 0);
    struct Frame {
        std::vector<quint64> children;
        size_t next = 0;
        int tallestChild = 0;
        quint64 nodes = 1;
    };
    std::vector<Frame> stack;
    auto enter = [&](quint64 object) {
        Frame frame;
        if (!layout.children(object, frame.children))
            frame.children.clear();
        state[size_t(object)] = Open;
        stack.push_back(std::move(frame));
        return int(stack.size()) <= maxDepth;
    };
    auto addChild = [&](Frame &parent, int childHeight, quint64 childNodes) {
        parent.tallestChild = std::max(parent.tallestChild, childHeight);
        parent.nodes = std::min(parent.nodes + childNodes, maxNodes + 1);
        return parent.nodes <= maxNodes;
    };
    std::vector<quint64> path { layout.topObject };
    if (!enter(layout.topObject))
        return false;
    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.next == top.children.size()) {
            const size_t object = size_t(path.back());
            state[object] = Done;
            height[object] = top.tallestChild + 1;
            size[object] = top.nodes;
            stack.pop_back();
            path.pop_back();
            if (!stack.empty() && !addChild(stack.back(), height[object], size[object]))
                return false;
            continue;
        }
        const quint64 child = top.children[top.next++];
        if (state[size_t(child)] == Open)
            return false;
        if (state[size_t(child)] == Done) {
            if (int(stack.size()) + height[size_t(child)] > maxDepth
                || !addChild(top, height[size_t(child)], size[size_t(child)]))
                return false;
            continue;
        }
        path.push_back(child);
        if (!enter(child))
            return false;
    }
    return true;
}
