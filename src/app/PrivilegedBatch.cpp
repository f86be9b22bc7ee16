// Encoding of a privileged batch as the helper's argument vector.
#include "app/PrivilegedBatch.h"

namespace
{

const QString kRemove = QStringLiteral("remove");
const QString kRename = QStringLiteral("rename");

} // namespace

void PrivilegedBatch::addRemoval(const QString &path)
{
    m_operations.push_back({ path, std::nullopt });
}

void PrivilegedBatch::addRename(const QString &path, const QString &newPath)
{
    m_operations.push_back({ path, newPath });
}

QStringList PrivilegedBatch::paths() const
{
    QStringList all;
    for (const Operation &operation : m_operations) {
        all << operation.path;
        if (operation.newPath)
            all << *operation.newPath;
    }
    return all;
}

QStringList PrivilegedBatch::arguments() const
{
    QStringList arguments;
    for (const Operation &operation : m_operations) {
        if (operation.newPath)
            arguments << kRename << operation.path << *operation.newPath;
        else
            arguments << kRemove << operation.path;
    }
    return arguments;
}

std::optional<PrivilegedBatch> PrivilegedBatch::fromArguments(const QStringList &arguments)
{
    PrivilegedBatch batch;
    for (qsizetype i = 0; i < arguments.size();) {
        const QString &word = arguments[i];
        if (word == kRemove && i + 1 < arguments.size()) {
            batch.addRemoval(arguments[i + 1]);
            i += 2;
        } else if (word == kRename && i + 2 < arguments.size()) {
            batch.addRename(arguments[i + 1], arguments[i + 2]);
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    if (batch.isEmpty())
        return std::nullopt;
    return batch;
}
