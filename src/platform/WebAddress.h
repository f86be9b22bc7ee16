// Which addresses the program hands to the desktop to open as web pages: only http and https
// pages with a host. A file, share or program address (file://localhost/etc/passwd, smb://...)
// written into a settings file is never opened.
#pragma once

#include <QString>
#include <QUrl>

class WebAddress
{
public:
    // The page `address` names (surrounding space ignored); an empty URL for anything else.
    static QUrl page(const QString &address);
};
