#include "platform/TextFormat.h"

namespace {

// Length of a "%d"-like integer placeholder starting at text[i] ("%d", "%ld", "%lld", "%lu", "%i",
// "%u", "%llu", "%zu"), or 0.
int integerPlaceholderLength(const QString &text, qsizetype i)
{
    static const char *const kForms[] = {"%lld", "%llu", "%ld", "%lu", "%zu", "%d", "%i", "%u"};
    for (const char *form : kForms) {
        const QLatin1String f(form);
        if (text.mid(i, f.size()) == f)
            return int(f.size());
    }
    return 0;
}

QString argumentText(const QVariant &arg)
{
    if (!arg.isValid())
        return QString();
    return arg.toString();
}

} // namespace

QString TextFormat::format(const QString &text, const QVariantList &args)
{
    QString out;
    out.reserve(text.size() + 16);
    qsizetype next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('%') || i + 1 >= text.size()) {
            out.append(c);
            continue;
        }
        if (text.at(i + 1) == QLatin1Char('%')) {
            out.append(QLatin1Char('%'));
            ++i;
            continue;
        }
        int length = 0;
        if (text.at(i + 1) == QLatin1Char('@'))
            length = 2;
        else
            length = integerPlaceholderLength(text, i);
        if (length == 0) {
            out.append(c);
            continue;
        }
        if (next < args.size())
            out.append(argumentText(args.at(next)));
        ++next;
        i += length - 1;
    }
    return out;
}
