#include "platform/Log.h"

#include <cstdio>
#include <mutex>

#include <QFile>

#include "platform/AppFolders.h"

namespace {

std::mutex &logMutex()
{
    static std::mutex m;
    return m;
}

} // namespace

void Log::write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::lock_guard<std::mutex> lock(logMutex());
    AppFolders::ensureFolder(AppFolders::logsFolder());
    QFile file(AppFolders::logFilePath());
    // Append, never truncate; a log that cannot be written loses this piece and nothing else.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(bytes);
}

void Log::line(const QString &text)
{
    write(text + QLatin1Char('\n'));
}

void stdoutLine(const QString &text)
{
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void systemLogLine(const QString &text)
{
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}
