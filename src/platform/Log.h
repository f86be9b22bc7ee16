// The diagnostic log and the system log (standard error here). No time stamps, no levels; nothing
// goes to standard output. Addresses in a line lose their query and fragment on the way to either.
#pragma once

#include <QString>

class Log
{
public:
    // Appends `text`, made one line of at most a few thousand characters, and a line feed as one
    // piece, so lines from threads never interleave.
    static void line(const QString &text);
    // "1 group", "2 groups": a count with its noun for a log line (the log is not translated).
    static QString counted(qint64 count, const char *one, const char *many);
};

// A line in the system log (standard error on this platform), bounded as the log's are.
void systemLogLine(const QString &text);
