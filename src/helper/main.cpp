// The privileged helper: pkexec starts it with administrator rights and the operations of one
// request as its arguments ("remove" PATH, "rename" PATH NEW_PATH, ...). It does only the
// uninstaller's work: every path is checked again here, against the program's own folders of the
// user who asked, and acted on by descriptor (see PrivilegedPlan).
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>

#include "app/PrivilegedBatch.h"
#include "app/PrivilegedPaths.h"
#include "app/PrivilegedPlan.h"
#include "platform/AppFolders.h"
#include "platform/Descriptor.h"
#include "platform/Log.h"

namespace
{

const QString kRootOverride = QStringLiteral("--root-override");

// The own folders of the user who asked: pkexec names the account in PKEXEC_UID, and its home comes
// from the account database, never from the environment a user could have set. Started without
// pkexec, the helper holds no rights beyond its caller's, who may point it at a tree of folders as
// the program's root override lays them out (the tests do). Nothing when neither can be had.
std::optional<QStringList> callerOwnFolders(QStringList &arguments)
{
    bool known = false;
    const unsigned int uid = qEnvironmentVariable("PKEXEC_UID").toUInt(&known);
    // Set but unreadable, the user who asked is not known: acting for the helper's own account (the
    // administrator's) or taking a root override would be acting for someone else.
    if (!known && qEnvironmentVariableIsSet("PKEXEC_UID"))
        return std::nullopt;
    if (!known && arguments.size() > 1 && arguments.first() == kRootOverride) {
        AppFolders::setRootOverride(arguments.at(1));
        arguments = arguments.mid(2);
        return AppFolders::ownFolders();
    }
    const QString home = PrivilegedPaths::homeOfUser(known ? uid : unsigned(::getuid()));
    if (home.isEmpty())
        return std::nullopt;
    return AppFolders::defaultOwnFolders(home);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const std::optional<QStringList> ownFolders = callerOwnFolders(arguments);
    const std::optional<PrivilegedBatch> batch = PrivilegedBatch::fromArguments(arguments);
    const Descriptor root(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!ownFolders || !batch || !root.isValid())
        return PrivilegedBatch::kExitRefused;
    QString refused;
    const std::optional<PrivilegedPlan> plan
        = PrivilegedPlan::check(*batch, *ownFolders, root.get(), &refused);
    if (!plan) {
        systemLogLine(
            QStringLiteral("Refused, not inside the program's own folders or reached through a link: ")
            + refused);
        return PrivilegedBatch::kExitRefused;
    }
    return plan->perform() ? PrivilegedBatch::kExitDone : PrivilegedBatch::kExitSomeFailed;
}
