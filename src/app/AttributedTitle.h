// A title with colour and font runs, built without widgets so the rules are testable; buttons that
// draw their own titles paint it with QTextLayout.
#pragma once

#include <optional>

#include <QColor>
#include <QFont>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QTextLayout>

struct AttributedTitleRun
{
    int start = 0;
    int length = 0;
    std::optional<QColor> color;
    std::optional<QFont> font;
};

struct AttributedTitle
{
    QString text;
    Qt::Alignment alignment = Qt::AlignHCenter;
    QList<AttributedTitleRun> runs;

    // Adds a run over [start, start + length), clamped to the text; an empty result adds nothing.
    void addRun(int start, int length, std::optional<QColor> color, std::optional<QFont> font)
    {
        const int begin = qBound(0, start, int(text.size()));
        const int end = qBound(begin, start + qMax(0, length), int(text.size()));
        if (end > begin)
            runs.append({begin, end - begin, std::move(color), std::move(font)});
    }

    QList<QTextLayout::FormatRange> formatRanges() const
    {
        QList<QTextLayout::FormatRange> ranges;
        for (const AttributedTitleRun &run : runs) {
            QTextLayout::FormatRange range;
            range.start = run.start;
            range.length = run.length;
            if (run.color)
                range.format.setForeground(*run.color);
            if (run.font)
                range.format.setFont(*run.font);
            ranges.append(range);
        }
        return ranges;
    }
};

Q_DECLARE_METATYPE(AttributedTitle)
