// The removals and renames of one request for administrator rights, in order. The program hands
// them to the privileged helper as its argument vector ("remove" PATH, "rename" PATH NEW_PATH, ...)
// and the helper reads them back from it; no shell ever sees them.
#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

class PrivilegedBatch
{
public:
    struct Operation {
        QString path;
        // None for a removal.
        std::optional<QString> newPath;
    };

    // The helper's exit codes (pkexec keeps 126 and 127 for itself).
    static constexpr int kExitDone = 0;
    static constexpr int kExitSomeFailed = 1;
    static constexpr int kExitRefused = 2;

    void addRemoval(const QString &path);
    void addRename(const QString &path, const QString &newPath);
    bool isEmpty() const { return m_operations.empty(); }
    const std::vector<Operation> &operations() const { return m_operations; }
    // Every path the batch touches, new paths included.
    QStringList paths() const;

    QStringList arguments() const;
    // None for an argument vector the helper does not understand.
    static std::optional<PrivilegedBatch> fromArguments(const QStringList &arguments);

private:
    std::vector<Operation> m_operations;
};
