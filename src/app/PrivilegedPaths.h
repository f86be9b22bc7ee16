// Which paths a command run with administrator rights may touch. The program checks before asking
// for the rights, and the privileged helper checks again with the home folder of the user who
// asked, since it runs as another user.
#pragma once

#include <QString>
#include <QStringList>

class PrivilegedPaths
{
public:
    // False for a path that is not absolute and normalised, for "/", a system root, one of `homes`
    // or a folder above one, also when the path's parent folder reaches one through a link.
    static bool isAcceptable(const QString &path, const QStringList &homes);
    // `homes` with the link-free form of each added.
    static QStringList withCanonicalForms(const QStringList &homes);
    // The home folder of the account `uid` as the password database names it; empty when unknown.
    static QString homeOfUser(unsigned int uid);
};
