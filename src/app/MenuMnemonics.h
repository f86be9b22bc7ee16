// Mnemonics for the titles of one menu (or of the menu bar): each title gets the first letter no
// earlier title uses, a word's first letter before any other, so Alt and that letter reach it in
// every language the string table has.
#pragma once

#include <QList>
#include <QStringList>

class QAction;

class MenuMnemonics
{
public:
    // The titles with "&" before their letters; a title whose letters are all taken gets none.
    // An "&" already in a title is shown as it is.
    static QStringList assign(const QStringList &titles);
    // The title as shown, without its mnemonic mark ("&&" stands for one "&").
    static QString plain(const QString &title);
    // Gives the titles of one menu's `actions` (separators and hidden items left out) their
    // mnemonics, whatever marks they had before.
    static void applyTo(const QList<QAction *> &actions);
};
