// The diagnostic log and the system log (standard error here). No time stamps, no levels; nothing
// goes to standard output. Addresses in a line lose their query and fragment on the way to either.
#pragma once

#include <QString>

class Log
{
public:
    // Appends `text` as it is (callers add the line feed, or use line()).
    static void write(const QString &text);
    // Appends `text` and a line feed as one piece, so lines from threads never interleave.
    static void line(const QString &text);
};

// A line in the system log (standard error on this platform).
void systemLogLine(const QString &text);
