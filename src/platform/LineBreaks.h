// Where the lines of a message may break inside the paths and web addresses it quotes. A path
// broken just after its leading "/", or an address after its "?", reads as two other names; so a
// path breaks only after one of its inner separators, an address only after a "/" of its path. A
// name longer than a line cannot keep to that: it breaks where the line ends.
#pragma once

#include <QString>

class QFont;

class LineBreaks
{
public:
    // `text` with a word joiner (U+2060, which draws nothing) between the characters of every path
    // and address where no line may break, and its spaces made no-break spaces; the rest of the
    // text is left as it is.
    static QString atSeparatorsOnly(const QString &text);
    // `text` (as atSeparatorsOnly made it, or any other) where every run of characters that may
    // not break and is wider than `width` in `font` may break between any two of its characters:
    // a zero-width space stands between them, its word joiners gone. Narrower runs are kept whole.
    static QString withinWidth(const QString &text, const QFont &font, qreal width);
};
