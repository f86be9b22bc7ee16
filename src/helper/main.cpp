// The privileged helper: pkexec starts it with administrator rights and the operations of one
// request as its arguments ("remove" PATH, "rename" PATH NEW_PATH, ...). Every path is checked
// again here, against the home folder of the user who asked, before anything runs.
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>

#include "app/PrivilegedBatch.h"
#include "app/PrivilegedPaths.h"

namespace
{

// pkexec names the user who asked in PKEXEC_UID; started without it, the helper acts for its own user.
QStringList callerHomes()
{
    bool known = false;
    const unsigned int uid = qEnvironmentVariable("PKEXEC_UID").toUInt(&known);
    QStringList homes { PrivilegedPaths::homeOfUser(known ? uid : unsigned(getuid())) };
    if (!known)
        homes << QDir::homePath();
    return PrivilegedPaths::withCanonicalForms(homes);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const std::optional<PrivilegedBatch> batch = PrivilegedBatch::fromArguments(app.arguments().mid(1));
    if (!batch)
        return PrivilegedBatch::kExitRefused;
    const QStringList homes = callerHomes();
    for (const QString &path : batch->paths()) {
        if (!PrivilegedPaths::isAcceptable(path, homes))
            return PrivilegedBatch::kExitRefused;
    }
    return batch->perform() ? PrivilegedBatch::kExitDone : PrivilegedBatch::kExitSomeFailed;
}
