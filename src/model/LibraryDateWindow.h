// The date window of a photo-library scan: which item date is compared ("scanFilesFromDate") and
// the bounds it must lie between, in the library's own time base (seconds since 2001-01-01 00:00
// GMT). Library times are absolute, so no time-zone offset is applied to the bounds.
#pragma once

#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QList>

class LibraryDateWindow
{
public:
    // Which item date the window applies to: the values stored under "scanFilesFromDate", which
    // folder files are filtered by as well. The file creation date is no column of a library: the
    // item's file is asked, as a folder's file is.
    enum DateField { kCaptureDate = 0, kDateAdded = 1, kFileCreationDate = 2, kCaptureOrAdded = 3 };

    // No window: every item passes.
    LibraryDateWindow() = default;
    // Items whose date lies after `from` (and before `to`, when given).
    static LibraryDateWindow between(
        const QDateTime &from, const std::optional<QDateTime> &to, int dateField);
    // The window the settings ask for ("allowPhotosLibScanInTimePeriod", "scanPhotosFrom",
    // "scanFilesFromDate"): 0 today, 1 yesterday (up to the start of today), 2 to 5 the last 7,
    // 15, 30 or 365 days, 6 or more since the beginning (no window).
    static LibraryDateWindow fromSettings();

    bool isActive() const { return m_active; }
    int dateField() const { return m_dateField; }
    double lowerBound() const { return m_lower; }
    std::optional<double> upperBound() const { return m_upper; }

    // Seconds between 1970-01-01 and 2001-01-01 00:00 GMT, the start of the library time base.
    static constexpr double kLibraryEpochOffset = 978307200.0;
    static double toLibraryTime(const QDateTime &time);

    // An SQL value over the given date columns, 1 for a row inside the window and 0 for one
    // outside it (a row without the date is outside), with its placeholders; `values` receives the
    // numbers to bind, in placeholder order. "1" when inactive or when no column applies.
    QByteArray insideTest(const QList<QByteArray> &columns, QList<double> *values) const;

private:
    bool m_active = false;
    int m_dateField = kCaptureDate;
    double m_lower = 0;
    std::optional<double> m_upper;
};
