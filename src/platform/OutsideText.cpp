#include "platform/OutsideText.h"

#include <QTextDocument>

namespace
{

const QChar kEllipsis(0x2026);
const QChar kReplacement(0xFFFD);

// Line ends, escapes and the marks that embed, override or isolate a direction: each would make
// one name read as several lines, or as another name.
bool isFormatting(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F
        || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (isFormatting(c.unicode()))
            c = kReplacement;
    }
    return text;
}

// A cut never falls between the two halves of a character outside the basic plane.
qsizetype wholeBefore(const QString &text, qsizetype at)
{
    return at > 0 && at < text.size() && text.at(at).isLowSurrogate() ? at - 1 : at;
}

QString shortenedAtEnd(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    return text.left(wholeBefore(text, limit - 1)) + kEllipsis;
}

QString shortenedInMiddle(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    const qsizetype head = wholeBefore(text, (limit - 1) / 2);
    qsizetype tail = text.size() - (limit - 1 - head);
    if (text.at(tail).isLowSurrogate())
        ++tail;
    return text.left(head) + kEllipsis + text.mid(tail);
}

} // namespace

QString OutsideText::name(const QString &text)
{
    return oneLine(shortenedInMiddle(text, kNameLimit));
}

QString OutsideText::reason(const QString &text)
{
    return line(text, kReasonLimit);
}

QString OutsideText::line(const QString &text, qsizetype limit)
{
    return oneLine(shortenedAtEnd(text, limit));
}

QString OutsideText::lineKeepingEnds(const QString &text, qsizetype limit)
{
    return oneLine(shortenedInMiddle(text, limit));
}

QString OutsideText::toolTip(const QString &text)
{
    // What reads as plain text is shown as it is; only the rest needs its markup escaped.
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}
