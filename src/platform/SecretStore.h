// Small secrets (sign-in states) in the desktop's secret service under the service "Quennary".
// Where no secret service runs (a headless machine) they go to a file of their own in the
// support folder instead: the folder 0700, the file 0600 before any byte is written. QtKeychain's
// own plain-text fallback is never used.
#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

class SecretStore
{
public:
    enum class Backend { keychainThenFile, fileOnly };
    // Runs on the calling thread (which needs an event loop for the keychain), once.
    using Completion = std::function<void(bool ok)>;

    explicit SecretStore(Backend backend = Backend::keychainThenFile);

    void write(const QString &name, const QByteArray &bytes, Completion done = {});
    void remove(const QString &name, Completion done = {});

    static QString service();
    // "<support folder>/secrets".
    static QString fallbackFolder();
    static QString fallbackPath(const QString &name);
    // A name is one plain file name: letters, digits, ".", "_" and "-", not starting with ".".
    static bool isValidName(const QString &name);

private:
    Backend m_backend;
};
