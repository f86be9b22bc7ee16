// Captions made of a label, a colon and a number: the part from the colon on is bold and the part
// after it coloured, so the figure stands out whatever the language puts before it.
#pragma once

#include <QString>

#include "app/AttributedTitle.h"

class CountCaptions
{
public:
    // Blue, bold 12 points for "de", "fr" and "fi" (their labels are long), 14 otherwise.
    static AttributedTitle attributedCountText(const QString &text, Qt::Alignment alignment);
    // Green, bold 24 points in every language.
    static AttributedTitle attributedHeadlineCountText(const QString &text, Qt::Alignment alignment);

    // The same for an explicit language code (the two above use the current one).
    static AttributedTitle countText(const QString &text, Qt::Alignment alignment, const QString &language);
    // HTML for a rich-text label: the runs as spans, the rest plain.
    static QString toHtml(const AttributedTitle &title);
};
