#include "db/field.h"

#include "util/cp1250.h"
#include "util/error.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace vaha::db {
namespace {

QLocale regionalLocale() {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return loc;
}

// The locale's short date with a four-digit year ("dd.MM.yyyy" on Czech workstations).
QString dateFormat(const QLocale& loc) {
    QString f = loc.dateFormat(QLocale::ShortFormat);
    if (!f.contains(QStringLiteral("yyyy")))
        f.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return f;
}

QString timeFormat(const QLocale& loc) {
    QString f = loc.timeFormat(QLocale::ShortFormat);
    if (!f.contains(u's')) {
        const qsizetype m = f.indexOf(QStringLiteral("mm"));
        if (m >= 0)
            f.insert(m + 2, QStringLiteral(":ss"));
    }
    return f;
}

std::string_view view(QByteArrayView raw) { return {raw.data(), size_t(raw.size())}; }

bool parseDouble(QByteArrayView raw, double& out) {
    std::string_view s = view(raw);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && ptr != s.data();
}

QDateTime parseServerMoment(QByteArrayView raw) {
    // "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss[.ffffff]" or "hh:mm:ss"
    const QString text = QString::fromLatin1(raw.data(), raw.size());
    if (text.size() >= 10 && text[4] == u'-') {
        const QDate d(text.mid(0, 4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
        if (!d.isValid())
            return {};
        QTime t(0, 0);
        if (text.size() >= 19)
            t = QTime(text.mid(11, 2).toInt(), text.mid(14, 2).toInt(), text.mid(17, 2).toInt());
        return QDateTime(d, t.isValid() ? t : QTime(0, 0));
    }
    const QTime t = QTime::fromString(text.left(8), QStringLiteral("HH:mm:ss"));
    return t.isValid() ? QDateTime(QDate(1899, 12, 30), t) : QDateTime();
}

Error conversionError(const QString& text, const char* kind) {
    return Error(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(kind)));
}

// Lenient regional date: day, month and year in the locale's order, any separators; a
// missing year is this year, a two-digit year lies in 1950..2049.
QDate parseRegionalDate(const QString& text, const QLocale& loc, QString* rest) {
    static const QRegularExpression numbers(QStringLiteral("^\\s*(\\d+)\\D+(\\d+)(?:\\D+(\\d+))?\\D*"));
    const QRegularExpressionMatch m = numbers.match(text);
    if (!m.hasMatch())
        return {};
    const QString fmt = dateFormat(loc).toLower();
    const qsizetype di = fmt.indexOf(u'd'), mi = fmt.indexOf(u'm'), yi = fmt.indexOf(u'y');
    // Order of the three parts in the format.
    QList<QPair<qsizetype, char>> order{{di, 'd'}, {mi, 'm'}, {yi, 'y'}};
    std::sort(order.begin(), order.end());
    int d = 0, mo = 0, y = QDate::currentDate().year();
    bool haveYear = false;
    const QStringList parts{m.captured(1), m.captured(2), m.captured(3)};
    int idx = 0;
    for (const auto& [pos, what] : order) {
        Q_UNUSED(pos);
        const QString part = parts.value(idx);
        if (what == 'y' && part.isEmpty() && idx == 2) {
            ++idx;
            continue;
        }
        const int v = part.toInt();
        if (what == 'd')
            d = v;
        else if (what == 'm')
            mo = v;
        else {
            y = v;
            haveYear = true;
            if (part.size() <= 2)
                y += y < 50 ? 2000 : 1900;
        }
        ++idx;
    }
    Q_UNUSED(haveYear);
    if (rest)
        *rest = text.mid(m.capturedEnd());
    return QDate(y, mo, d);
}

} // namespace

bool Field::acceptsCharacter(QChar c) const {
    const QLocale loc = regionalLocale();
    switch (type) {
    case FieldType::Integer:
        return c.isDigit() || c == u'-' || c == u'+';
    case FieldType::Float:
    case FieldType::Decimal:
        return c.isDigit() || c == u'-' || c == u'+' || c == u'e' || c == u'E' ||
               c == loc.decimalPoint().front();
    case FieldType::Date:
    case FieldType::DateTime:
    case FieldType::Time:
        return c.isDigit() || c == u'.' || c == u'/' || c == u'-' || c == u':' || c == u' ';
    default:
        return true;
    }
}

namespace value {

QString toText(QByteArrayView raw) { return cp1250::decode(raw); }

qint64 toInt(QByteArrayView raw) {
    double d = 0;
    if (raw.isEmpty())
        return 0;
    qint64 v = 0;
    std::string_view s = view(raw);
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec == std::errc() && ptr == s.data() + s.size())
        return v;
    return parseDouble(raw, d) ? qint64(std::llround(d)) : 0;
}

double toFloat(QByteArrayView raw) {
    double d = 0;
    return parseDouble(raw, d) ? d : 0.0;
}

DateTimeValue toDateTime(QByteArrayView raw) {
    const QDateTime m = parseServerMoment(raw);
    return m.isValid() ? toDateTimeValue(m) : 0.0;
}

QString regionalFloat(double v) {
    if (v == 0)
        return QStringLiteral("0");
    // Fifteen significant digits, like the classic float-to-text of the office programs:
    // 30.5 - 10.2 shows as 20,3.
    QString s = regionalLocale().toString(v, 'g', 15);
    return s;
}

QString regionalDate(DateTimeValue v) {
    const QLocale loc = regionalLocale();
    return loc.toString(fromDateTimeValue(v).date(), dateFormat(loc));
}

QString regionalDateTime(DateTimeValue v) {
    const QLocale loc = regionalLocale();
    const QDateTime m = fromDateTimeValue(v);
    return loc.toString(m.date(), dateFormat(loc)) + u' ' + loc.toString(m.time(), timeFormat(loc));
}

double parseRegionalFloat(const QString& text) {
    bool ok = false;
    const double v = regionalLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        throw conversionError(text, "floating point value");
    return v;
}

QString displayText(const Field& field, std::optional<QByteArrayView> raw) {
    if (!raw)
        return {};
    switch (field.type) {
    case FieldType::Float:
    case FieldType::Decimal: {
        double d = 0;
        return parseDouble(*raw, d) ? regionalFloat(d) : toText(*raw);
    }
    case FieldType::Date: {
        const QDateTime m = parseServerMoment(*raw);
        return m.isValid() ? regionalDate(toDateTimeValue(m)) : QString();
    }
    case FieldType::DateTime: {
        const QDateTime m = parseServerMoment(*raw);
        return m.isValid() ? regionalDateTime(toDateTimeValue(m)) : QString();
    }
    default:
        return toText(*raw);
    }
}

QByteArray floatText(double v) {
    char buf[64];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    Q_UNUSED(ec);
    return QByteArray(buf, ptr - buf);
}

QByteArray dateText(DateTimeValue v) { return DateToSqlText(v).toLatin1(); }

QByteArray dateTimeText(DateTimeValue v) { return formatMoment(v).toLatin1(); }

std::optional<QByteArray> fromDisplayText(const Field& field, const QString& text) {
    const QString trimmed = text.trimmed();
    switch (field.type) {
    case FieldType::Integer: {
        if (trimmed.isEmpty())
            return std::nullopt;
        bool ok = false;
        const qlonglong v = regionalLocale().toLongLong(trimmed, &ok);
        if (!ok)
            throw conversionError(text, "integer value");
        return QByteArray::number(v);
    }
    case FieldType::Float:
    case FieldType::Decimal:
        if (trimmed.isEmpty())
            return std::nullopt;
        return floatText(parseRegionalFloat(trimmed));
    case FieldType::Date:
    case FieldType::DateTime: {
        if (trimmed.isEmpty())
            return std::nullopt;
        const QLocale loc = regionalLocale();
        QString rest;
        const QDate d = parseRegionalDate(trimmed, loc, &rest);
        if (!d.isValid())
            throw conversionError(text, "date");
        QTime t(0, 0);
        if (field.type == FieldType::DateTime && !rest.trimmed().isEmpty()) {
            const QStringList hms = rest.trimmed().split(u':');
            t = QTime(hms.value(0).toInt(), hms.value(1).toInt(), hms.value(2).toInt());
            if (!t.isValid() || hms.size() < 2)
                throw conversionError(text, "date and time");
        }
        const DateTimeValue v = toDateTimeValue(QDateTime(d, t));
        return field.type == FieldType::Date ? dateText(v) : dateTimeText(v);
    }
    default:
        return cp1250::encode(text);
    }
}

} // namespace value
} // namespace vaha::db
