#include "platform/Log.h"

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/AppFolders.h"
#include "platform/RegularFile.h"

namespace
{

// An address's query and fragment may carry signatures, codes and tokens (download links, sign-in
// redirects): whatever reaches a log keeps only the scheme, host and path of every address in it.
QString withoutQueries(const QString &text)
{
    if (!text.contains(QLatin1Char('?')) && !text.contains(QLatin1Char('#')))
        return text;
    static const QRegularExpression kAddressTail(
        QStringLiteral("\\b([A-Za-z][A-Za-z0-9+.-]*:/[^\\s?#]*)[?#][^\\s]*"));
    QString scrubbed = text;
    return scrubbed.replace(kAddressTail, QStringLiteral("\\1"));
}

std::mutex &logMutex()
{
    static std::mutex m;
    return m;
}

// One whole line at a time, so lines written from several threads never interleave.
void streamLine(std::mutex &m, std::FILE *stream, const QString &text)
{
    const QByteArray bytes = withoutQueries(text).toUtf8();
    std::lock_guard<std::mutex> lock(m);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

void Log::write(const QString &text)
{
    const QByteArray bytes = withoutQueries(text).toUtf8();
    std::lock_guard<std::mutex> lock(logMutex());
    // The file is opened in the very folder that was checked: a folder swapped in after the check
    // never gets the line.
    const OwnFolder folder = AppFolders::openFolder(AppFolders::logsFolder());
    if (!folder.isValid())
        return;
    // Append, never truncate; a log that cannot be written (or is a fifo nobody reads) loses this
    // piece and nothing else.
    const RegularFile::Descriptor file = RegularFile::openForAppending(
        folder.get(), QFile::encodeName(QFileInfo(AppFolders::logFilePath()).fileName()));
    if (!file.isValid())
        return;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(file.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return;
        done += wrote;
    }
}

void Log::line(const QString &text)
{
    write(text + QLatin1Char('\n'));
}

void systemLogLine(const QString &text)
{
    static std::mutex m;
    streamLine(m, stderr, text);
}

QString Log::counted(qint64 count, const char *one, const char *many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}
