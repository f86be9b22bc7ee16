#include "platform/Log.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/AppFolders.h"
#include "platform/OutsideText.h"
#include "platform/OwnFolderWrites.h"
#include "platform/RegularFile.h"

namespace
{

// An address's query and fragment may carry signatures, codes and tokens (download links, sign-in
// redirects): whatever reaches a log keeps only the scheme, host and path of every address in it.
QString withoutQueries(const QString &text)
{
    if (!text.contains(QLatin1Char('?')) && !text.contains(QLatin1Char('#')))
        return text;
    static const QRegularExpression &kAddressTail
        = *new QRegularExpression(QStringLiteral("\\b([A-Za-z][A-Za-z0-9+.-]*:/[^\\s?#]*)[?#][^\\s]*"));
    QString scrubbed = text;
    return scrubbed.replace(kAddressTail, QStringLiteral("\\1"));
}

// Lines quote names and error texts of servers: each is kept to one line of bounded length here, so
// no text can forge lines of its own or fill the disk.
constexpr qsizetype kLineLimit = 2000;

// The end of a text cut from a longer one, without its first word when that word may be the rest
// of an address cut off from its scheme: its query would not be known as one.
QString tailPiece(const QString &text)
{
    QString tail = text.right(kLineLimit);
    const auto space = std::find_if(tail.cbegin(), tail.cend(), [](QChar c) { return c.isSpace(); });
    const QStringView firstWord(tail.cbegin(), space);
    if (firstWord.contains(QLatin1Char('?')) || firstWord.contains(QLatin1Char('#')))
        tail.remove(0, firstWord.size());
    return tail;
}

// A line too long keeps its start, which says what happened, and its end, which holds the file
// name and the reason ("File name too long"); a path in between loses its middle. A text of any
// length is cut to both its ends before its addresses are looked for.
QString oneBoundedLine(const QString &text)
{
    const QString scrubbed = text.size() <= 2 * kLineLimit
        ? withoutQueries(text)
        : withoutQueries(text.left(kLineLimit)) + QChar(0x2026) + withoutQueries(tailPiece(text));
    return OutsideText::lineKeepingEnds(scrubbed, kLineLimit);
}

std::mutex &logMutex()
{
    static std::mutex m;
    return m;
}

// One whole line at a time, so lines written from several threads never interleave.
void streamLine(std::mutex &m, std::FILE *stream, const QString &text)
{
    const QByteArray bytes = oneBoundedLine(text).toUtf8();
    std::lock_guard<std::mutex> lock(m);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void appendNow(const QByteArray &bytes)
{
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

// Made by the log folder's own queue: a log on a share that falls silent holds no thread that
// writes a line for longer than the bound, and the lines while it is silent are passed over.
void appendToLog(const QByteArray &bytes)
{
    OwnFolderWrites::run(AppFolders::logFilePath(), [bytes]() {
        appendNow(bytes);
        return true;
    });
}

} // namespace

void Log::line(const QString &text)
{
    appendToLog(oneBoundedLine(text).toUtf8() + '\n');
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
