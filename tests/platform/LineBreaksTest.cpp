// Paths and web addresses in a message wrap only after an inner separator, at every width.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QTextLayout>

#include "platform/LineBreaks.h"

namespace
{

// The lines `text` takes at `width` pixels, wrapped as a label wraps, word joiners left out.
QStringList linesAt(const QString &text, int width)
{
    QTextLayout layout(text, QFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append(text.mid(line.textStart(), line.textLength()).remove(QChar(0x2060)));
    }
    layout.endLayout();
    return lines;
}

} // namespace

TEST(LineBreaks, PathsAndAddressesBreakOnlyAfterAnInnerSeparator)
{
    const QString path = QStringLiteral("/home/someone/Pictures/Holiday-2024/raw.files");
    const QString address = QStringLiteral("https://help.example.com/scan/folders?topic=unreadable&lang=en");
    const QString text = QStringLiteral("The folder \"%1\" could not be read. See %2 or the log: %3").arg(path, address, path);
    const QString spaced = QStringLiteral("The folder \"/home/me/My Photos/2024\" is gone.");
    const QFontMetrics metrics { QFont() };
    for (const QString &message : { text, spaced }) {
        const QString broken = LineBreaks::atSeparatorsOnly(message);
        EXPECT_EQ(QString(broken).remove(QChar(0x2060)), message);
        for (int width = metrics.horizontalAdvance(QStringLiteral("/home/")) + 2; width < 900; width += 7) {
            const QStringList lines = linesAt(broken, width);
            for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
                const QString line = lines[i];
                // A line ends at a space, or after a separator that is not a path's first.
                const bool atSpace = line.endsWith(QLatin1Char(' '));
                const bool atInnerSeparator = line.endsWith(QLatin1Char('/')) && !line.endsWith(QStringLiteral("\"/"))
                    && !line.endsWith(QStringLiteral(" /")) && !line.endsWith(QStringLiteral("//"));
                EXPECT_TRUE(atSpace || atInnerSeparator)
                    << "width " << width << ": \"" << line.toStdString() << "\"";
            }
        }
    }
}
