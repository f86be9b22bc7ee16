// Turns the Unicode date-pattern letters the application's texts use ("MMM dd, yyyy hh:mm:ss a")
// into the letters of QLocale::toString.
#pragma once

#include <QString>

class DateFormatPattern
{
public:
    static QString toQtFormat(const QString &pattern);
};
