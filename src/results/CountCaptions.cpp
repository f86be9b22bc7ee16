// Count captions of the results window.
#include "results/CountCaptions.h"

#include <QFont>

#include "app/LocalizedString.h"
#include "platform/SystemFonts.h"

namespace {

// A text without a colon comes back plain, with no alignment of its own.
AttributedTitle caption(const QString &text, Qt::Alignment alignment, const QColor &color, int pixelSize)
{
    AttributedTitle title;
    title.text = text;
    title.alignment = Qt::Alignment();
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return title;
    title.alignment = alignment;
    const QFont bold = SystemFonts::systemFont(pixelSize, QFont::Bold);
    title.addRun(int(colon), 1, std::nullopt, bold);
    title.addRun(int(colon) + 1, int(text.size() - colon - 1), color, bold);
    return title;
}

} // namespace

AttributedTitle CountCaptions::countText(const QString &text, Qt::Alignment alignment, const QString &language)
{
    const bool longLabels = language == QLatin1String("de") || language == QLatin1String("fr")
                            || language == QLatin1String("fi");
    return caption(text, alignment, QColor(13, 61, 241), longLabels ? 12 : 14);
}

AttributedTitle CountCaptions::attributedCountText(const QString &text, Qt::Alignment alignment)
{
    return countText(text, alignment, Localization::currentLanguageCode());
}

AttributedTitle CountCaptions::attributedHeadlineCountText(const QString &text, Qt::Alignment alignment)
{
    return caption(text, alignment, QColor(4, 215, 53), 24);
}

QString CountCaptions::toHtml(const AttributedTitle &title)
{
    QString html;
    int position = 0;
    for (const AttributedTitleRun &run : title.runs) {
        html += title.text.mid(position, run.start - position).toHtmlEscaped();
        QString style;
        if (run.color)
            style += QStringLiteral("color:%1;").arg(run.color->name());
        if (run.font)
            style += QStringLiteral("font-weight:bold;font-size:%1px;").arg(run.font->pixelSize());
        html += QStringLiteral("<span style=\"%1\">%2</span>")
                    .arg(style, title.text.mid(run.start, run.length).toHtmlEscaped());
        position = run.start + run.length;
    }
    return html + title.text.mid(position).toHtmlEscaped();
}
