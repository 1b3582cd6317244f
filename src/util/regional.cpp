#include "util/regional.h"

#include "util/error.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace vaha::regional {
namespace {

// The short date with a four-digit year ("dd.MM.yyyy" on Czech workstations).
QString dateFormat(const QLocale& loc) {
    QString f = loc.dateFormat(QLocale::ShortFormat);
    // A date field is typed in digits: a format with month names (the C locale's
    // "d MMM yyyy") gives way to the international one.
    if (f.contains(QStringLiteral("MMM")))
        return QStringLiteral("yyyy-MM-dd");
    if (!f.contains(QStringLiteral("yyyy")))
        f.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return f;
}

// The short time with seconds ("H:mm:ss" on Czech workstations).
QString timeFormat(const QLocale& loc) {
    QString f = loc.timeFormat(QLocale::ShortFormat);
    if (!f.contains(u's')) {
        const qsizetype m = f.indexOf(QStringLiteral("mm"));
        if (m >= 0)
            f.insert(m + 2, QStringLiteral(":ss"));
    }
    return f;
}

// parseDate(), also telling how many digits the year was typed with (0 when it was left out).
QDate parseDateCountingYear(const QString& text, QString* rest, qsizetype* yearDigits) {
    static const QRegularExpression numbers(QStringLiteral(
        "^\\s*(\\d{1,4})[^\\d\\s]+\\s*(\\d{1,2})(?:[^\\d\\s]+\\s*(\\d{1,4}))?[^\\d\\s]*"));
    const QRegularExpressionMatch m = numbers.match(text);
    if (!m.hasMatch())
        return {};
    const QString fmt = dateFormat(locale()).toLower();
    std::array<std::pair<qsizetype, char>, 3> order{
        {{fmt.indexOf(u'd'), 'd'}, {fmt.indexOf(u'm'), 'm'}, {fmt.indexOf(u'y'), 'y'}}};
    std::sort(order.begin(), order.end());
    const QString parts[3] = {m.captured(1), m.captured(2), m.captured(3)};
    int day = 0, month = 0, year = QDate::currentDate().year();
    *yearDigits = 0;
    int next = 0;
    for (const auto& [pos, what] : order) {
        Q_UNUSED(pos);
        if (what == 'y' && next == 2 && parts[2].isEmpty())
            break; // "17.5." means this year
        const QString& part = parts[next++];
        if (part.isEmpty())
            return {};
        const int v = part.toInt();
        if (what == 'd') {
            day = v;
        } else if (what == 'm') {
            month = v;
        } else {
            year = part.size() <= 2 ? v + (v < 50 ? 2000 : 1900) : v;
            *yearDigits = part.size();
        }
    }
    if (rest)
        *rest = text.mid(m.capturedEnd());
    return QDate(year, month, day);
}

} // namespace

QLocale locale() {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return loc;
}

QString formatFloat(double value) {
    if (value == 0)
        return QStringLiteral("0");
    return locale().toString(value, 'g', 15);
}

QString formatDate(QDate date) {
    const QLocale loc = locale();
    return loc.toString(date, dateFormat(loc));
}

QString formatDate(DateTimeValue value) {
    return formatDate(fromDateTimeValue(value).date());
}

QString formatDateTime(DateTimeValue value) {
    const QLocale loc = locale();
    const QDateTime m = fromDateTimeValue(value);
    return loc.toString(m.date(), dateFormat(loc)) + u' ' + loc.toString(m.time(), timeFormat(loc));
}

double parseFloat(const QString& text) {
    bool ok = false;
    const double v = locale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

QDate parseDate(const QString& text, QString* rest) {
    qsizetype yearDigits = 0;
    return parseDateCountingYear(text, rest, &yearDigits);
}

QDate parseCompleteDate(const QString& text) {
    static const QRegularExpression complete(
        QStringLiteral("^\\s*\\d{1,4}[^\\d\\s]+\\s*\\d{1,2}[^\\d\\s]+\\s*\\d{1,4}\\s*$"));
    if (!complete.match(text).hasMatch())
        return {};
    // The year is the part that the locale's order puts there; it must have four digits.
    qsizetype yearDigits = 0;
    const QDate date = parseDateCountingYear(text, nullptr, &yearDigits);
    return yearDigits == 4 ? date : QDate();
}

} // namespace vaha::regional
