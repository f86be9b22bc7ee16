// Fills the "%d" and "%@" placeholders of a localised text with arguments, in order. Table texts are
// never handed to printf-style formatting: too few arguments leave the placeholder empty, extra ones
// are ignored, and any other "%" sequence stays as it is ("%%" becomes "%").
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class TextFormat
{
public:
    static QString format(const QString &text, const QVariantList &args);
};

template <typename... Args>
QString formatText(const QString &text, const Args &...args)
{
    return TextFormat::format(text, QVariantList{QVariant::fromValue(args)...});
}
