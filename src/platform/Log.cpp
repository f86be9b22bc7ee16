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

// One whole line at a time, so lines written from several threads never interleave.
void streamLine(std::mutex &m, std::FILE *stream, const QString &text)
{
    std::lock_guard<std::mutex> lock(m);
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
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
    streamLine(m, stdout, text);
}

void systemLogLine(const QString &text)
{
    static std::mutex m;
    streamLine(m, stderr, text);
}
