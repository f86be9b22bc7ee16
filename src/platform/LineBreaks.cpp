#include "platform/LineBreaks.h"

#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace
{

constexpr QChar kWordJoiner(0x2060);
// Draws nothing, and a line may break after it.
constexpr QChar kZeroWidthSpace(0x200B);
// Lines break at any space whatever joins it: one inside a path does not.
constexpr QChar kNoBreakSpace(0x00A0);

// An address; a path in straight or curly quotes (it may hold spaces); a bare path, which ends at
// a space. A bare path starts where no word or address does.
const QRegularExpression &tokens()
{
    static const QRegularExpression kTokens(QStringLiteral(
        "([A-Za-z][A-Za-z0-9+.-]*://[^\\s\"\u201D()]+)|\"(/[^\"\\n]+)\"|\u201C(/[^\u201D\\n]+)\u201D|(?<![\\w/:.~])(/[^\\s\"\u201D()]*)"));
    return kTokens;
}

// `run` with a break allowed between every two of its characters (a letter and its accents stay
// together).
QString breakableAnywhere(const QString &run)
{
    const QString bare = QString(run).remove(kWordJoiner);
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, bare);
    QString out;
    out.reserve(bare.size() * 2);
    qsizetype start = 0;
    for (qsizetype end = characters.toNextBoundary(); end > 0;
         start = end, end = characters.toNextBoundary()) {
        if (start > 0)
            out += kZeroWidthSpace;
        out += QStringView(bare).mid(start, end - start);
    }
    return out;
}

} // namespace

QString LineBreaks::atSeparatorsOnly(const QString &text)
{
    QString out;
    out.reserve(text.size() * 2);
    qsizetype done = 0;
    QRegularExpressionMatchIterator it = tokens().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        int group = 1;
        while (group < 4 && match.capturedLength(group) == 0)
            ++group;
        const qsizetype start = match.capturedStart(group);
        const qsizetype end = match.capturedEnd(group);
        // An address keeps its scheme and host whole; a path its leading separator.
        const qsizetype whole = group == 1 ? text.indexOf(QStringLiteral("://"), start) + 2 : start;
        out += QStringView(text).mid(done, start - done);
        for (qsizetype i = start; i < end; ++i) {
            out += text.at(i) == QLatin1Char(' ') ? kNoBreakSpace : text.at(i);
            const bool separator = text.at(i) == QLatin1Char('/') && i > whole;
            if (i + 1 < end && !separator)
                out += kWordJoiner;
        }
        done = end;
    }
    out += QStringView(text).mid(done);
    return out;
}

QString LineBreaks::withinWidth(const QString &text, const QFont &font, qreal width)
{
    const QFontMetricsF metrics(font);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    for (qsizetype end = breaks.toNextBoundary(); end > 0; start = end, end = breaks.toNextBoundary()) {
        const QString run = text.mid(start, end - start);
        out += metrics.horizontalAdvance(run) > width ? breakableAnywhere(run) : run;
    }
    return out;
}
