// What the alert says when the desktop opened nothing: what failed and what the user can do about
// it. Opening again later would fail the same way, so no text asks for that.
#pragma once

#include <QString>
#include <QUrl>

struct OpenFailureText {
    QString message;
    QString informative;
};

class OpenFailureTexts
{
public:
    // Open on a file: it may have gone since the scan, or no application opens its kind.
    static OpenFailureText forFile(const QString &path);
    // Show in File Manager ended in opening the folder, and nothing opened it.
    static OpenFailureText forFolder(const QString &path);
    // Help: no browser took the address, so the user is given it to open by hand.
    static OpenFailureText forHelpPage(const QUrl &address);
    // Picks forFile or forFolder by what `address` names on disk now.
    static OpenFailureText forLocalUrl(const QUrl &address);
};
