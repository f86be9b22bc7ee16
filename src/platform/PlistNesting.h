// How deeply the containers of a property list nest and how many values it unfolds into, told from
// its bytes before any parser sees them: the parsers and the conversion to QVariant recurse once
// per level, so a file of tens of thousands of nested arrays would overflow the stack; and a binary
// list may refer to one object many times, which the parser copies each time, so a file of a few
// hundred bytes whose arrays repeat the level below unfolds into billions of values.
#pragma once

#include <QByteArray>

class PlistNesting
{
public:
    // Deeper than any settings or string table this program writes, far below a stack's limit.
    static constexpr int kMaxDepth = 256;
    // Far more values than any settings file or string table holds, a few hundred MB as QVariants.
    static constexpr quint64 kMaxNodes = 1000000;

    // True when no container of `bytes` (XML or binary) nests deeper than `maxDepth` and the list
    // unfolds into at most `maxNodes` values (dictionary keys and every repeated reference
    // counted); a binary list whose objects refer to each other in a circle is never within it.
    static bool isWithin(const QByteArray &bytes, int maxDepth = kMaxDepth, quint64 maxNodes = kMaxNodes);

private:
    static bool xmlIsWithin(const QByteArray &bytes, int maxDepth, quint64 maxNodes);
    static bool binaryIsWithin(const QByteArray &bytes, int maxDepth, quint64 maxNodes);
};
