// How deeply the containers of a property list nest, told from its bytes before any parser sees
// them: the parsers and the conversion to QVariant recurse once per level, so a file of tens of
// thousands of nested arrays would overflow the stack.
#pragma once

#include <QByteArray>

class PlistNesting
{
public:
    // Deeper than any settings or string table this program writes, far below a stack's limit.
    static constexpr int kMaxDepth = 256;

    // True when no container of `bytes` (XML or binary) nests deeper than `maxDepth`; a binary
    // list whose objects refer to each other in a circle is never within it.
    static bool isWithin(const QByteArray &bytes, int maxDepth = kMaxDepth);

private:
    static bool xmlIsWithin(const QByteArray &bytes, int maxDepth);
    static bool binaryIsWithin(const QByteArray &bytes, int maxDepth);
};
