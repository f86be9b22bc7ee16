#include "app/MenuMnemonics.h"

#include <optional>

#include <QAction>

namespace
{

bool startsWord(const QString &title, qsizetype at)
{
    return at == 0 || !title.at(at - 1).isLetterOrNumber();
}

// The position of the first free letter, a word's first letter if one is free.
std::optional<qsizetype> freeLetter(const QString &title, const QString &used)
{
    for (const bool wordStartsOnly : { true, false }) {
        for (qsizetype at = 0; at < title.size(); ++at) {
            const QChar letter = title.at(at).toLower();
            if (letter.isLetterOrNumber() && !used.contains(letter)
                && (!wordStartsOnly || startsWord(title, at)))
                return at;
        }
    }
    return std::nullopt;
}

} // namespace

QStringList MenuMnemonics::assign(const QStringList &titles)
{
    QString used;
    QStringList marked;
    for (const QString &title : titles) {
        const std::optional<qsizetype> at = freeLetter(title, used);
        QString escaped = title;
        escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (!at) {
            marked.append(escaped);
            continue;
        }
        used.append(title.at(*at).toLower());
        // Every "&" before the letter became two.
        const qsizetype shift = title.left(*at).count(QLatin1Char('&'));
        marked.append(escaped.insert(*at + shift, QLatin1Char('&')));
    }
    return marked;
}

QString MenuMnemonics::plain(const QString &title)
{
    QString shown;
    for (qsizetype at = 0; at < title.size(); ++at) {
        if (title.at(at) == QLatin1Char('&') && ++at >= title.size())
            break;
        shown.append(title.at(at));
    }
    return shown;
}

void MenuMnemonics::applyTo(const QList<QAction *> &actions)
{
    QList<QAction *> titled;
    QStringList titles;
    for (QAction *action : actions) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        titled.append(action);
        titles.append(plain(action->text()));
    }
    const QStringList marked = assign(titles);
    for (qsizetype index = 0; index < titled.size(); ++index)
        titled.at(index)->setText(marked.at(index));
}
