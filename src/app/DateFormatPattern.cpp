#include "app/DateFormatPattern.h"

namespace {

// The Qt letters for a run of `count` copies of the pattern letter `c`.
QString qtRun(QChar c, int count)
{
    const QString run(count, c);
    switch (c.unicode()) {
    case 'y':
        return count == 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
    case 'M':
    case 'L':
        return QString(qMin(count, 4), QLatin1Char('M'));
    case 'd':
        return QString(qMin(count, 2), QLatin1Char('d'));
    case 'E':
    case 'c':
        return count >= 4 ? QStringLiteral("dddd") : QStringLiteral("ddd");
    case 'h':
    case 'K':
        return QString(qMin(count, 2), QLatin1Char('h'));
    case 'H':
    case 'k':
        // Qt's 'H' is always the 24-hour clock; its 'h' is the 12-hour clock only next to "AP".
        return QString(qMin(count, 2), QLatin1Char('H'));
    case 'm':
        return QString(qMin(count, 2), QLatin1Char('m'));
    case 's':
        return QString(qMin(count, 2), QLatin1Char('s'));
    case 'S':
        return QStringLiteral("zzz");
    case 'a':
        return QStringLiteral("AP");
    case 'z':
    case 'Z':
    case 'v':
    case 'V':
    case 'O':
    case 'X':
    case 'x':
        return QStringLiteral("t");
    default:
        return QLatin1Char('\'') + run + QLatin1Char('\'');
    }
}

} // namespace

QString DateFormatPattern::toQtFormat(const QString &pattern)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            // Quoted literal text is the same in both syntaxes (including '' for a quote).
            const qsizetype end = pattern.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end + 1;
            out += pattern.mid(i, stop - i);
            i = stop;
            continue;
        }
        if (!c.isLetter() || c.unicode() > 127) {
            out += c;
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < pattern.size() && pattern.at(j) == c)
            ++j;
        out += qtRun(c, int(j - i));
        i = j;
    }
    return out;
}
