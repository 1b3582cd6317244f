#pragma once

#include "util/datetimevalue.h"

#include <QDate>
#include <QLocale>
#include <QString>

// The workstation's regional formats (QLocale's default, the system's unless a test sets
// another): decimal comma on Czech workstations, no digit grouping, dates with a 4-digit year.
namespace vaha::regional {

QLocale locale();

// Fifteen significant digits without trailing zeros, like the classic float-to-text of office
// programs: 30.5 - 10.2 shows as "20,3".
QString formatFloat(double value);
QString formatDate(QDate date);
QString formatDate(DateTimeValue value);
QString formatDateTime(DateTimeValue value);

// A number typed in regional format; throws "'x' is not a valid floating point value".
double parseFloat(const QString& text);
// A date typed in regional format, leniently: day, month, year in the locale's order with any
// separators; a missing year is this year; two digits mean 1950..2049. Invalid when it is none.
QDate parseDate(const QString& text, QString* rest = nullptr);

// A complete date as a date field shows it: day, month and four-digit year. Invalid otherwise,
// so a half-typed date is no date.
QDate parseCompleteDate(const QString& text);

} // namespace vaha::regional
