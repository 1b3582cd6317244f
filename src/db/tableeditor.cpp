#include "db/tableeditor.h"

#include "db/connection.h"
#include "db/query.h"
#include "util/cp1250.h"
#include "util/error.h"
#include "util/regional.h"

#include <cmath>
#include <mysql.h>

namespace vaha::db {
namespace {

// The session runs without strict mode, where the server would cut a text that is too long
// and clip a number beyond its column to the column's limit, silently. So a value the column
// cannot hold is refused here, before it ever reaches the server.
void requireFits(const Field& f, const QByteArray& value) {
    if (f.length <= 0)
        return;
    if (f.type == FieldType::String && value.size() > f.length) {
        const QString text = cp1250::decode(value);
        const QString shown = text.size() > 40 ? text.left(40) + u'…' : text;
        throw Error(QStringLiteral("Text „%1“ je delší než %2 znaků sloupce %3.")
                        .arg(shown)
                        .arg(f.length)
                        .arg(f.name.toUpper()));
    }
    if (f.type != FieldType::Decimal)
        return;
    const bool isUnsigned = f.flags & UNSIGNED_FLAG;
    const int precision = int(f.length) - (f.decimals > 0 ? 1 : 0) - (isUnsigned ? 0 : 1);
    if (precision <= 0)
        return;
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok)
        return; // the server's own text of a value: it came from the column
    const double scaled = std::round(v * std::pow(10.0, f.decimals));
    const double limit = std::pow(10.0, precision) - 1;
    if (std::abs(scaled) > limit || (isUnsigned && scaled < 0)) {
        const double largest = limit / std::pow(10.0, f.decimals);
        throw Error(
            QStringLiteral("Hodnota %1 je mimo rozsah sloupce %2 (nejvýše %3).")
                .arg(regional::formatFloat(v), f.name.toUpper(), regional::formatFloat(largest)));
    }
}

} // namespace

TableEditor::TableEditor(Connection* connection, QObject* parent)
    : QObject(parent), m_connection(connection) {}

void TableEditor::open() {
    if (m_open)
        return;
    Query q(m_connection);
    q.addLine(QStringLiteral("select * from ") + Connection::quoteIdentifier(m_table));
    q.open();
    m_fields.clear();
    for (int i = 0; i < q.fieldCount(); ++i)
        m_fields.push_back(q.field(i));
    m_values.assign(m_fields.size(), std::nullopt);
    m_hasRow = !q.isEmpty();
    if (m_hasRow) {
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            const auto v = q.raw(int(i));
            if (v)
                m_values[i] = v->toByteArray();
        }
    }
    m_original = m_values;
    m_changed.assign(m_fields.size(), false);
    m_open = true;
    m_editing = m_inserting = false;
    Q_EMIT stateChanged();
    for (int i = 0; i < fieldCount(); ++i)
        Q_EMIT fieldChanged(i);
}

void TableEditor::close() {
    if (!m_open)
        return;
    m_open = m_editing = m_inserting = m_hasRow = false;
    m_values.assign(m_fields.size(), std::nullopt);
    m_changed.assign(m_fields.size(), false);
    Q_EMIT stateChanged();
    for (int i = 0; i < fieldCount(); ++i)
        Q_EMIT fieldChanged(i);
    m_fields.clear();
    m_values.clear();
    m_original.clear();
    m_changed.clear();
}

void TableEditor::edit() {
    if (!m_open)
        throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (m_editing)
        return;
    m_editing = true;
    m_inserting = !m_hasRow;
    Q_EMIT stateChanged();
}

void TableEditor::requireEditing() const {
    if (!m_open || !m_editing)
        throw Error(QStringLiteral("Dataset not in edit or insert mode"));
}

void TableEditor::post() {
    requireEditing();
    QStringList columns;
    QStringList values;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (!m_changed[i])
            continue;
        columns.append(Connection::quoteIdentifier(m_fields[i].name));
        values.append(m_values[i] ? m_connection->quote(cp1250::decode(*m_values[i]))
                                  : QStringLiteral("NULL"));
    }
    if (!columns.isEmpty() || m_inserting) {
        QString statement;
        if (m_inserting) {
            statement = QStringLiteral("insert into %1 (%2) values (%3)")
                            .arg(Connection::quoteIdentifier(m_table), columns.join(u','),
                                 values.join(u','));
        } else {
            QStringList assignments;
            for (qsizetype i = 0; i < columns.size(); ++i)
                assignments.append(columns[i] + u'=' + values[i]);
            // The working table holds exactly one row.
            statement = QStringLiteral("update %1 set %2")
                            .arg(Connection::quoteIdentifier(m_table), assignments.join(u','));
        }
        if (!m_connection)
            throw Error(QStringLiteral("Database connection not set"));
        m_connection->execute(statement);
    }
    m_original = m_values;
    m_changed.assign(m_fields.size(), false);
    m_hasRow = true;
    m_editing = m_inserting = false;
    Q_EMIT stateChanged();
}

int TableEditor::fieldIndex(QStringView name) const {
    return db::fieldIndex(m_fields, name);
}

int TableEditor::requireField(QStringView name) const {
    return db::requireField(m_fields, name);
}

std::optional<QByteArray> TableEditor::raw(int column) const {
    if (column < 0 || std::size_t(column) >= m_values.size())
        return std::nullopt;
    return m_values[std::size_t(column)];
}

bool TableEditor::isNull(QStringView name) const {
    return !raw(requireField(name)).has_value();
}

QString TableEditor::asString(QStringView name) const {
    const auto v = raw(requireField(name));
    return v ? value::toText(*v) : QString();
}

double TableEditor::asFloat(QStringView name) const {
    const auto v = raw(requireField(name));
    return v ? value::toFloat(*v) : 0.0;
}

qint64 TableEditor::asInt(QStringView name) const {
    const auto v = raw(requireField(name));
    return v ? value::toInt(*v) : 0;
}

DateTimeValue TableEditor::asDateTime(QStringView name) const {
    const auto v = raw(requireField(name));
    return v ? value::toDateTime(*v) : 0.0;
}

QString TableEditor::displayText(QStringView name) const {
    const int c = requireField(name);
    const auto v = raw(c);
    return v ? value::displayText(field(c), QByteArrayView(*v)) : QString();
}

void TableEditor::setRaw(int column, std::optional<QByteArray> v) {
    requireEditing();
    if (column < 0 || std::size_t(column) >= m_values.size())
        throw Error(QStringLiteral("Field index out of range"));
    if (v)
        requireFits(m_fields[std::size_t(column)], *v);
    auto& slot = m_values[std::size_t(column)];
    m_changed[std::size_t(column)] = true;
    if (slot == v)
        return;
    slot = std::move(v);
    Q_EMIT fieldChanged(column);
}

void TableEditor::setString(QStringView name, const QString& text) {
    const int c = requireField(name);
    const Field& f = field(c);
    if ((f.isNumeric() || f.isDateOrTime()) && text.isEmpty()) {
        setRaw(c, std::nullopt);
        return;
    }
    if (f.isNumeric() || f.isDateOrTime()) {
        // Text assigned to a number or date is taken in the server's own form when it is one
        // (values copied between tables), otherwise in the regional form.
        const QByteArray latin = text.toLatin1();
        if (f.isNumeric()) {
            double d = 0;
            bool ok = false;
            d = QString::fromLatin1(latin).toDouble(&ok);
            if (ok) {
                setRaw(c, value::floatText(d));
                return;
            }
        } else if (value::toDateTime(latin) != 0.0 || latin.startsWith("1899-12-30")) {
            setRaw(c, latin);
            return;
        }
        setRaw(c, value::fromDisplayText(f, text));
        return;
    }
    setRaw(c, cp1250::encode(text));
}

void TableEditor::setFloat(QStringView name, double v) {
    setRaw(requireField(name), value::floatText(v));
}

void TableEditor::setInt(QStringView name, qint64 v) {
    setRaw(requireField(name), QByteArray::number(v));
}

void TableEditor::setDateTime(QStringView name, DateTimeValue v) {
    const int c = requireField(name);
    setRaw(c, field(c).type == FieldType::Date ? value::dateText(v) : value::dateTimeText(v));
}

void TableEditor::setNull(QStringView name) {
    setRaw(requireField(name), std::nullopt);
}

void TableEditor::setDisplayText(QStringView name, const QString& text) {
    const int c = requireField(name);
    setRaw(c, value::fromDisplayText(field(c), text));
}

} // namespace vaha::db
