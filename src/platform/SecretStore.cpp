#include "platform/SecretStore.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <qt6keychain/keychain.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "platform/AppFolders.h"
#include "platform/Log.h"

namespace
{

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

bool ensurePrivateFolder(const QString &folder)
{
    if (!AppFolders::ensureFolder(folder))
        return false;
    return ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

// The file is created 0600 (and forced to 0600 if it was left with other bits) before a byte is
// written, then renamed over the old one, so no reader ever sees a partial or open secret.
bool writeSecretFile(const QString &name, const QByteArray &bytes)
{
    if (!ensurePrivateFolder(SecretStore::fallbackFolder()))
        return false;
    const QByteArray path = QFile::encodeName(SecretStore::fallbackPath(name));
    const QByteArray temporary = path + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0600) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(temporary.constData(), path.constData()) == 0;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

bool removeSecretFile(const QString &name)
{
    const QString path = SecretStore::fallbackPath(name);
    return !QFile::exists(path) || QFile::remove(path);
}

void report(const QString &what, const QString &name, bool ok, const SecretStore::Completion &done)
{
    Log::line(QStringLiteral("Secret ") + what + QStringLiteral(" \"") + name + QStringLiteral("\": ")
        + (ok ? QStringLiteral("done") : QStringLiteral("failed")));
    if (done)
        done(ok);
}

// The secret service is reached over the session bus. Without one the library may answer
// OtherError ("cannot autolaunch D-Bus") rather than NoBackendAvailable; both mean no backend.
bool hasNoSecretService(QKeychain::Error error)
{
    return error == QKeychain::NoBackendAvailable
        || (error == QKeychain::OtherError && qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"));
}

// Runs `job`; on a machine without a secret service `fallback` decides instead.
void runKeychainJob(QKeychain::Job *job, const QString &what, const QString &name,
    std::function<bool()> fallback, std::function<void()> afterKeychain, SecretStore::Completion done)
{
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(name);
    QObject::connect(job, &QKeychain::Job::finished, job, [=](QKeychain::Job *finished) {
        const QKeychain::Error error = finished->error();
        if (hasNoSecretService(error)) {
            report(what + QStringLiteral(" (file)"), name, fallback(), done);
            return;
        }
        if (error != QKeychain::NoError && error != QKeychain::EntryNotFound)
            Log::line(QStringLiteral("Secret service: ") + finished->errorString()
                + QStringLiteral(" (%1)").arg(int(error)));
        const bool ok = error == QKeychain::NoError
            || (error == QKeychain::EntryNotFound && what == QLatin1String("remove"));
        if (ok)
            afterKeychain();
        report(what, name, ok, done);
    });
    job->start();
}

} // namespace

SecretStore::SecretStore(Backend backend)
    : m_backend(backend)
{
}

QString SecretStore::service()
{
    return QStringLiteral("Quennary");
}

QString SecretStore::fallbackFolder()
{
    return AppFolders::supportFolder() + QStringLiteral("/secrets");
}

QString SecretStore::fallbackPath(const QString &name)
{
    return fallbackFolder() + QLatin1Char('/') + name;
}

bool SecretStore::isValidName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9._-]*$"));
    return name.size() <= 200 && pattern.match(name).hasMatch();
}

void SecretStore::write(const QString &name, const QByteArray &bytes, Completion done)
{
    if (!isValidName(name)) {
        report(QStringLiteral("write"), name, false, done);
        return;
    }
    if (m_backend == Backend::fileOnly) {
        report(QStringLiteral("write (file)"), name, writeSecretFile(name, bytes), done);
        return;
    }
    auto *job = new QKeychain::WritePasswordJob(service());
    job->setBinaryData(bytes);
    // Once the secret service holds the value, a copy left by an earlier headless run must go.
    runKeychainJob(
        job, QStringLiteral("write"), name, [name, bytes] { return writeSecretFile(name, bytes); },
        [name] { removeSecretFile(name); }, std::move(done));
}

void SecretStore::remove(const QString &name, Completion done)
{
    if (!isValidName(name)) {
        report(QStringLiteral("remove"), name, false, done);
        return;
    }
    const bool fileRemoved = removeSecretFile(name);
    if (m_backend == Backend::fileOnly) {
        report(QStringLiteral("remove (file)"), name, fileRemoved, done);
        return;
    }
    runKeychainJob(
        new QKeychain::DeletePasswordJob(service()), QStringLiteral("remove"), name,
        [fileRemoved] { return fileRemoved; }, [] {}, std::move(done));
}
