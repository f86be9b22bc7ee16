#include "model/LibraryDateWindow.h"

#include "app/CommonFunc.h"
#include "platform/UserDefaults.h"

LibraryDateWindow LibraryDateWindow::between(
    const QDateTime &from, const std::optional<QDateTime> &to, int dateField)
{
    LibraryDateWindow window;
    window.m_active = from.isValid();
    window.m_dateField = dateField;
    window.m_lower = toLibraryTime(from);
    if (to && to->isValid())
        window.m_upper = toLibraryTime(*to);
    return window;
}

LibraryDateWindow LibraryDateWindow::fromSettings()
{
    const UserDefaults &defaults = UserDefaults::standard();
    const qlonglong choice = defaults.integerForKey(QStringLiteral("scanPhotosFrom"));
    if (!defaults.boolForKey(QStringLiteral("allowPhotosLibScanInTimePeriod")) || choice < 0 || choice > 5)
        return LibraryDateWindow();
    const int field = int(defaults.integerForKey(QStringLiteral("scanFilesFromDate")));
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime todayStart = CommonFunc::localDayStart(now);
    const QDateTime start = CommonFunc::periodStart(int(choice), now);
    // Yesterday ends where today begins, so it never lists today's items.
    return between(start, choice == 1 ? std::optional<QDateTime>(todayStart) : std::nullopt, field);
}

double LibraryDateWindow::toLibraryTime(const QDateTime &time)
{
    return double(time.toMSecsSinceEpoch()) / 1000.0 - kLibraryEpochOffset;
}

QByteArray LibraryDateWindow::insideTest(const QList<QByteArray> &columns, QList<double> *values) const
{
    if (!m_active || columns.isEmpty())
        return QByteArrayLiteral("1");
    QList<QByteArray> tests;
    for (const QByteArray &column : columns) {
        QByteArray test = "(" + column + " > ?";
        values->append(m_lower);
        if (m_upper) {
            test += " AND " + column + " < ?";
            values->append(*m_upper);
        }
        tests.append(test + ")");
    }
    return "CASE WHEN " + tests.join(" OR ") + " THEN 1 ELSE 0 END";
}
