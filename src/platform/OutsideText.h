// Text that a file's owner or a server chose: file and folder names, paths, cloud names, error texts
// of providers. Such text may hold line breaks that forge lines of their own, bidirectional marks
// that reverse what follows, markup, or a megabyte of words; what is made here shows it as one line
// of bounded length, to be shown as plain text.
#pragma once

#include <QString>

class OutsideText
{
public:
    // A name or a path, in characters; longer ones keep their start and their end (the file name).
    static constexpr qsizetype kNameLimit = 400;
    // An error text: its start says what went wrong.
    static constexpr qsizetype kReasonLimit = 300;

    // `text` on one line (control and bidirectional formatting characters replaced) and at most
    // kNameLimit characters long, shortened in its middle with "…".
    static QString name(const QString &text);
    // `text` on one line and at most kReasonLimit characters long, shortened at its end with "…".
    static QString reason(const QString &text);
    // `text` at most `limit` characters long, shortened at its end with "…", then on one line.
    static QString line(const QString &text, qsizetype limit);
    // The same, shortened in its middle: its start and its end (a file name, a reason) are kept.
    static QString lineKeepingEnds(const QString &text, qsizetype limit);
    // A tooltip that shows `text` as it is, its own line breaks kept: tooltips read anything that
    // looks like markup as markup, so such text comes back escaped inside markup of its own.
    static QString toolTip(const QString &text);
};
