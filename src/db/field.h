#pragma once

#include "util/datetimevalue.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace vaha::db {

enum class FieldType { Integer, Float, Decimal, String, Date, DateTime, Time, Blob, Other };

// Column metadata of a result, as the server describes it.
struct Field {
    QString name;
    FieldType type = FieldType::String;
    int serverType = 0; // enum_field_types
    unsigned flags = 0; // NOT_NULL_FLAG, BINARY_FLAG, ...
    qint64 length = 0;  // display length in characters
    int decimals = 0;
    bool visible = true;

    const QString& displayLabel() const { return name; }
    bool isNumeric() const {
        return type == FieldType::Integer || type == FieldType::Float || type == FieldType::Decimal;
    }
    bool isDateOrTime() const {
        return type == FieldType::Date || type == FieldType::DateTime || type == FieldType::Time;
    }
    bool isBlob() const { return type == FieldType::Blob; }

    // Whether a typed character can be part of this field's value (digits, sign and the
    // regional decimal separator for numbers, date characters for dates, anything for texts).
    bool acceptsCharacter(QChar c) const;
};

// The index of the field called `name` (letter case ignored); -1 when there is none.
int fieldIndex(const std::vector<Field>& fields, QStringView name);
// The same, throwing "Field 'name' not found" when there is none.
int requireField(const std::vector<Field>& fields, QStringView name);

// Conversions between the server's text form of a value (as the text protocol delivers it)
// and the program's view of it. A value is std::nullopt for SQL NULL.
namespace value {

QString toText(QByteArrayView raw);           // Windows-1250 bytes to text
qint64 toInt(QByteArrayView raw);             // 0 for NULL or text that is not a number
double toFloat(QByteArrayView raw);           // 0 for NULL or text that is not a number
DateTimeValue toDateTime(QByteArrayView raw); // 0 for NULL, zero dates or text that is not one

// The text the workstation shows for a value: numbers and dates in regional format
// (decimal comma on Czech workstations, no digit grouping, no fixed decimals), texts as they are.
QString displayText(const Field& field, std::optional<QByteArrayView> raw);

// The server text of a value typed by the user in regional format. An empty text is NULL for
// numbers and dates. Throws vaha::Error "'x' is not a valid floating point value" (or the date
// or integer variant) when the text does not convert.
std::optional<QByteArray> fromDisplayText(const Field& field, const QString& text);

// Server text of numbers and moments, independent of regional settings.
QByteArray floatText(double v);
QByteArray dateText(DateTimeValue v);
QByteArray dateTimeText(DateTimeValue v);

} // namespace value
} // namespace vaha::db
