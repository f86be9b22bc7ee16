// Files the tests lay out on disk.
#pragma once

#include <QByteArray>
#include <QString>

namespace TestFiles {

// Writes `bytes` to `path` (replacing what was there), creating the folders above it; true when
// every byte was written.
bool write(const QString &path, const QByteArray &bytes = QByteArrayLiteral("x"));

} // namespace TestFiles
