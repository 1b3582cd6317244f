#include "util/regional.h"

#include "util/error.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace vaha::regional {

QLocale locale() {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return loc;
}

QString dateFormat() {
    QString f = locale().dateFormat(QLocale::ShortFormat);
    // A date field is typed in digits: a format with month names (the C locale's
    // "d MMM yyyy") gives way to the international one.
    if (f.contains(QStringLiteral("MMM")))
        return QStringLiteral("yyyy-MM-dd");
    if (!f.contains(QStringLiteral("yyyy")))
        f.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return f;
}

QString timeFormat() {
    QString f = locale().timeFormat(QLocale::ShortFormat);
    if (!f.contains(u's')) {
        const qsizetype m = f.indexOf(QStringLiteral("mm"));
        if (m >= 0)
            f.insert(m + 2, QStringLiteral(":ss"));
    }
    return f;
}

QString formatFloat(double value) {
    if (value == 0)
        return QStringLiteral("0");
    return locale().toString(value, 'g', 15);
}

QString formatDate(QDate date) {
    return locale().toString(date, dateFormat());
}

QString formatDate(DateTimeValue value) {
    return formatDate(fromDateTimeValue(value).date());
}

QString formatDateTime(DateTimeValue value) {
    const QDateTime m = fromDateTimeValue(value);
    return formatDate(m.date()) + u' ' + locale().toString(m.time(), timeFormat());
}

double parseFloat(const QString& text) {
    bool ok = false;
    const double v = locale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

QDate parseDate(const QString& text, QString* rest) {
    static const QRegularExpression numbers(QStringLiteral(
        "^\\s*(\\d{1,4})[^\\d\\s]+\\s*(\\d{1,2})(?:[^\\d\\s]+\\s*(\\d{1,4}))?[^\\d\\s]*"));
    const QRegularExpressionMatch m = numbers.match(text);
    if (!m.hasMatch())
        return {};
    const QString fmt = dateFormat().toLower();
    std::array<std::pair<qsizetype, char>, 3> order{
        {{fmt.indexOf(u'd'), 'd'}, {fmt.indexOf(u'm'), 'm'}, {fmt.indexOf(u'y'), 'y'}}};
    std::sort(order.begin(), order.end());
    const QString parts[3] = {m.captured(1), m.captured(2), m.captured(3)};
    int day = 0, month = 0, year = QDate::currentDate().year();
    int next = 0;
    for (const auto& [pos, what] : order) {
        Q_UNUSED(pos);
        if (what == 'y' && next == 2 && parts[2].isEmpty())
            break; // "17.5." means this year
        const QString& part = parts[next++];
        if (part.isEmpty())
            return {};
        const int v = part.toInt();
        if (what == 'd')
            day = v;
        else if (what == 'm')
            month = v;
        else
            year = part.size() <= 2 ? v + (v < 50 ? 2000 : 1900) : v;
    }
    if (rest)
        *rest = text.mid(m.capturedEnd());
    return QDate(year, month, day);
}

} // namespace vaha::regional

namespace vaha::regional {

QDate parseCompleteDate(const QString& text) {
    static const QRegularExpression complete(
        QStringLiteral("^\\s*\\d{1,4}[^\\d\\s]+\\s*\\d{1,2}[^\\d\\s]+\\s*\\d{1,4}\\s*$"));
    if (!complete.match(text).hasMatch())
        return {};
    // The year is the part that the locale's order puts there; it must have four digits.
    const QString fmt = dateFormat().toLower();
    const QStringList parts = text.trimmed().split(QRegularExpression(QStringLiteral("[^\\d]+")),
                                                   Qt::SkipEmptyParts);
    const qsizetype yearPos = fmt.indexOf(u'y');
    int yearIndex = 0;
    for (const QChar c : {u'd', u'm'}) {
        if (fmt.indexOf(c) < yearPos)
            ++yearIndex;
    }
    if (parts.size() != 3 || parts[yearIndex].size() != 4)
        return {};
    return parseDate(text);
}

} // namespace vaha::regional
