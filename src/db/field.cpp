#include "db/field.h"

#include "util/cp1250.h"
#include "util/error.h"
#include "util/regional.h"

#include <QDate>
#include <QLocale>
#include <charconv>
#include <cmath>

namespace vaha::db {
namespace {

std::string_view view(QByteArrayView raw) {
    return {raw.data(), size_t(raw.size())};
}

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

} // namespace

bool Field::acceptsCharacter(QChar c) const {
    switch (type) {
    case FieldType::Integer:
        return c.isDigit() || c == u'-' || c == u'+';
    case FieldType::Float:
    case FieldType::Decimal:
        return c.isDigit() || c == u'-' || c == u'+' || c == u'e' || c == u'E' ||
               c == regional::locale().decimalPoint().front();
    case FieldType::Date:
    case FieldType::DateTime:
    case FieldType::Time:
        return c.isDigit() || c == u'.' || c == u'/' || c == u'-' || c == u':' || c == u' ';
    default:
        return true;
    }
}

int fieldIndex(const std::vector<Field>& fields, QStringView name) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (QStringView(fields[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

int requireField(const std::vector<Field>& fields, QStringView name) {
    const int i = fieldIndex(fields, name);
    if (i < 0)
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    return i;
}

namespace value {

QString toText(QByteArrayView raw) {
    return cp1250::decode(raw);
}

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

QString displayText(const Field& field, std::optional<QByteArrayView> raw) {
    if (!raw)
        return {};
    switch (field.type) {
    case FieldType::Float:
    case FieldType::Decimal: {
        double d = 0;
        return parseDouble(*raw, d) ? regional::formatFloat(d) : toText(*raw);
    }
    case FieldType::Date: {
        const QDateTime m = parseServerMoment(*raw);
        return m.isValid() ? regional::formatDate(m.date()) : QString();
    }
    case FieldType::DateTime: {
        const QDateTime m = parseServerMoment(*raw);
        return m.isValid() ? regional::formatDateTime(toDateTimeValue(m)) : QString();
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

QByteArray dateText(DateTimeValue v) {
    return DateToSqlText(v).toLatin1();
}

QByteArray dateTimeText(DateTimeValue v) {
    return formatMoment(v).toLatin1();
}

std::optional<QByteArray> fromDisplayText(const Field& field, const QString& text) {
    const QString trimmed = text.trimmed();
    switch (field.type) {
    case FieldType::Integer: {
        if (trimmed.isEmpty())
            return std::nullopt;
        bool ok = false;
        const qlonglong v = regional::locale().toLongLong(trimmed, &ok);
        if (!ok)
            throw conversionError(text, "integer value");
        return QByteArray::number(v);
    }
    case FieldType::Float:
    case FieldType::Decimal:
        if (trimmed.isEmpty())
            return std::nullopt;
        return floatText(regional::parseFloat(trimmed));
    case FieldType::Date:
    case FieldType::DateTime: {
        if (trimmed.isEmpty())
            return std::nullopt;
        QString rest;
        const QDate d = regional::parseDate(trimmed, &rest);
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
