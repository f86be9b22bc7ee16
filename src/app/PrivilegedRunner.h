// Runs one command with administrator rights through pkexec, and knows where the program's own
// privileged helper lies. Tests derive from it and replace run() and helperPath().
#pragma once

#include <QString>
#include <QStringList>

class PrivilegedRunner
{
public:
    enum class Outcome {
        // The command ran to its end; exitCode is its exit code.
        Finished,
        // The user dismissed the password dialog, or the rights were not granted.
        Refused,
        // The command could not be started (pkexec missing, no way to ask for the rights).
        NotStarted,
        // The command was killed or crashed.
        Crashed,
    };

    struct Result
    {
        Outcome outcome = Outcome::NotStarted;
        int exitCode = -1;
    };

    virtual ~PrivilegedRunner();

    // Runs `program` (an absolute path) with `arguments`, each handed to the program as it is,
    // never through a shell, and waits until it ends (the password dialog may be open meanwhile).
    virtual Result run(const QString &program, const QStringList &arguments);

    // The privileged helper: next to the executable (a build tree), else in the program's folder
    // of the libexec directory; empty when neither holds it.
    virtual QString helperPath() const;

    static QString helperName();
};
