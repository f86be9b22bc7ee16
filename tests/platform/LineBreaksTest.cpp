// Paths and web addresses in a message wrap only after an inner separator, at every width.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTextLayout>

#include "platform/LineBreaks.h"

TEST(LineBreaks, PathsAndAddressesBreakOnlyAfterAnInnerSeparator)
{
    const QStringList tokens { QStringLiteral("/home/me/My Pictures/Holiday-2024 at sea/raw.files"),
        QStringLiteral("https://help.example.com/scan/folders?topic=unreadable&lang=en") };
    const QString text = QStringLiteral("The folder \"%1\" could not be read. See %2.").arg(tokens[0], tokens[1]);
    const QString broken = LineBreaks::atSeparatorsOnly(text);
    EXPECT_EQ(QString(broken).remove(QChar(0x2060)).replace(QChar(0x00A0), QLatin1Char(' ')), text);
    for (int width = QFontMetrics(QFont()).horizontalAdvance(QStringLiteral("/home/")); width < 900; width += 7) {
        QTextLayout layout(broken, QFont());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            const qsizetype end = line.textStart() + line.textLength();
            const qsizetype at = end - broken.left(end).count(QChar(0x2060));
            // Inside a path a line ends after a separator past its first; in an address, past its host.
            for (const QString &token : tokens) {
                const qsizetype start = text.indexOf(token);
                EXPECT_TRUE(at <= start || at >= start + token.size()
                    || (text.at(at - 1) == u'/' && text.mid(start, at - start).count(u'/') > (token.startsWith(u'h') ? 2 : 1)))
                    << "width " << width << ": " << text.left(at).toStdString();
            }
        }
        layout.endLayout();
    }
}
