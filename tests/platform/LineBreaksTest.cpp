// Paths and web addresses in a message wrap only after an inner separator, at every width.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QTextLayout>

#include "platform/LineBreaks.h"

namespace
{

// Where the lines of `text` end at `width` pixels, wrapped as a label wraps, counted in `text`
// without its word joiners.
QList<qsizetype> breaksAt(const QString &text, int width)
{
    QTextLayout layout(text, QFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QList<qsizetype> breaks;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const qsizetype end = line.textStart() + line.textLength();
        if (end < text.size())
            breaks.append(end - text.left(end).count(QChar(0x2060)));
    }
    layout.endLayout();
    return breaks;
}

} // namespace

TEST(LineBreaks, PathsAndAddressesBreakOnlyAfterAnInnerSeparator)
{
    const QStringList tokens { QStringLiteral("/home/someone/My Pictures/Holiday-2024 at sea/raw.files"),
        QStringLiteral("https://help.example.com/scan/folders?topic=unreadable&lang=en") };
    const QString text = QStringLiteral("The folder \"%1\" could not be read. See %2 or the log: %3 for more.")
                             .arg(tokens[0], tokens[1], QStringLiteral("/home/someone/.local/state/log.txt"));
    const QString broken = LineBreaks::atSeparatorsOnly(text);
    EXPECT_EQ(QString(broken).remove(QChar(0x2060)).replace(QChar(0x00A0), QLatin1Char(' ')), text);
    const QFontMetrics metrics { QFont() };
    for (int width = metrics.horizontalAdvance(QStringLiteral("/home/")) + 2; width < 900; width += 7) {
        for (const qsizetype at : breaksAt(broken, width)) {
            for (const QString &token : tokens) {
                const qsizetype start = text.indexOf(token);
                // Inside a token, a line ends just after a separator that is not its first.
                if (at > start && at < start + token.size())
                    EXPECT_TRUE(text.at(at - 1) == QLatin1Char('/') && at - 1 > start
                        && text.mid(start, at - start).count(QLatin1Char('/')) > (token.startsWith(u'h') ? 2 : 1))
                        << "width " << width << ": " << text.left(at).toStdString();
            }
        }
    }
}
