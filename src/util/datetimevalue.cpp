#include "util/datetimevalue.h"

#include <cmath>

namespace vaha {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

} // namespace

DateTimeValue toDateTimeValue(QDate date) {
    return date.isValid() ? double(kEpoch.daysTo(date)) : 0.0;
}

DateTimeValue toDateTimeValue(const QDateTime& moment) {
    if (!moment.isValid())
        return 0.0;
    const double days = toDateTimeValue(moment.date());
    const double fraction = moment.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the date part counts down while the time of day still counts up.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromDateTimeValue(DateTimeValue value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return QDateTime(kEpoch, QTime(0, 0));
    double whole = std::trunc(value);
    qint64 ms = std::llround(std::fabs(value - whole) * kMsPerDay);
    if (ms >= qint64(kMsPerDay)) { // rounding reached the next day
        ms -= qint64(kMsPerDay);
        whole += value < 0 ? -1 : 1;
    }
    return QDateTime(kEpoch.addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

DateTimeValue nowValue() {
    return toDateTimeValue(QDateTime::currentDateTime());
}

int YearOfDate(DateTimeValue value) {
    return fromDateTimeValue(value).date().year();
}

QString DateToSqlText(DateTimeValue value) {
    const QDate d = fromDateTimeValue(value).date();
    return QStringLiteral("%1-%2-%3")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

QString formatMoment(const QDateTime& moment) {
    const QDate d = moment.date();
    const QTime t = moment.time();
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

QString formatMoment(DateTimeValue value) {
    return formatMoment(fromDateTimeValue(value));
}

} // namespace vaha
