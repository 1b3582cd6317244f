#pragma once

#include <QDateTime>
#include <QString>

// Date-time values as the program's data and files know them: days since 1899-12-30 00:00 as a
// floating-point number, the fraction being the time of day; 0 means "no date".
namespace vaha {

using DateTimeValue = double;

DateTimeValue toDateTimeValue(const QDateTime& moment);
DateTimeValue toDateTimeValue(QDate date);
QDateTime fromDateTimeValue(DateTimeValue value);
DateTimeValue nowValue();

// Calendar year of the date part.
int YearOfDate(DateTimeValue value);

// "yyyy-mm-dd", independent of regional settings; the time part is ignored.
QString DateToSqlText(DateTimeValue value);

// "yyyy-mm-dd hh:nn:ss", the form of every moment the program writes into SQL and files.
QString formatMoment(DateTimeValue value);
QString formatMoment(const QDateTime& moment);

} // namespace vaha
