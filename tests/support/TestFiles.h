// Files the tests lay out on disk.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TestFiles {

// Writes `bytes` to `path` (replacing what was there), creating the folders above it; true when
// every byte was written.
bool write(const QString &path, const QByteArray &bytes = QByteArrayLiteral("x"));

// What `path` holds; empty when it cannot be read.
QByteArray read(const QString &path);

// The folders and files at or below `folders` (links not followed) that anyone but their owner may
// use.
QStringList openToOthers(const QStringList &folders);

} // namespace TestFiles
