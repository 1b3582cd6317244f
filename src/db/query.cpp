#include "db/query.h"

#include "db/connection.h"
#include "util/cp1250.h"
#include "util/error.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <mysql.h>
#include <numeric>

namespace vaha::db {
namespace {

constexpr unsigned kBinaryCharset = 63;

FieldType typeOf(const MYSQL_FIELD& f) {
    switch (f.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_YEAR:
    case MYSQL_TYPE_BIT:
        return FieldType::Integer;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        return FieldType::Float;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return FieldType::Decimal;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return FieldType::Date;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return FieldType::DateTime;
    case MYSQL_TYPE_TIME:
        return FieldType::Time;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
        return f.charsetnr == kBinaryCharset ? FieldType::Blob : FieldType::String;
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_ENUM:
    case MYSQL_TYPE_SET:
        return FieldType::String;
    default:
        return FieldType::Other;
    }
}

Field fieldFromServer(const MYSQL_FIELD& f) {
    Field field;
    // Names come in the session's character set, like the values.
    field.name = cp1250::decode(QByteArrayView(f.name, qsizetype(f.name_length)));
    field.type = typeOf(f);
    field.serverType = int(f.type);
    field.flags = f.flags;
    field.decimals = int(f.decimals);
    // The server gives the length in bytes of the session character set: one per character.
    field.length = qint64(f.length);
    return field;
}

} // namespace

class Query::Reader : public ResultReader {
public:
    explicit Reader(Query& q) : m_q(q) {}
    void begin(int fieldCount, const MYSQL_FIELD* fields) override {
        m_q.m_fields.clear();
        m_q.m_fields.reserve(std::size_t(fieldCount));
        for (int i = 0; i < fieldCount; ++i)
            m_q.m_fields.push_back(fieldFromServer(fields[i]));
        m_q.m_rows.reset(fieldCount);
    }
    void row(const char* const* values, const unsigned long* lengths) override {
        m_q.m_rows.append(values, lengths);
    }

private:
    Query& m_q;
};

Query::Query(Connection* connection, QObject* parent) : QObject(parent), m_connection(connection) {}

Query::~Query() = default;

void Query::setConnection(Connection* connection) {
    if (connection == m_connection)
        return;
    close();
    m_connection = connection;
}

void Query::open() {
    if (m_open)
        return;
    if (!m_connection)
        throw Error(QStringLiteral("Database connection not set"));
    Reader reader(*this);
    try {
        m_connection->query(statement(), reader);
    } catch (...) {
        m_fields.clear();
        m_rows.reset(0);
        throw;
    }
    m_order.resize(std::size_t(m_rows.rowCount()));
    std::iota(m_order.begin(), m_order.end(), 0);
    m_sortField.clear();
    m_open = true;
    m_pos = m_order.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_order.empty();
    if (m_disabled == 0) {
        Q_EMIT opened();
        Q_EMIT currentChanged(m_pos);
    } else {
        m_pendingReset = true;
    }
}

void Query::execSql() {
    if (!m_connection)
        throw Error(QStringLiteral("Database connection not set"));
    m_connection->execute(statement());
}

void Query::close() {
    if (!m_open)
        return;
    m_open = false;
    m_fields.clear();
    m_rows.reset(0);
    m_order.clear();
    m_order.shrink_to_fit();
    m_pos = -1;
    m_eof = m_bof = true;
    m_sortField.clear();
    if (m_disabled == 0)
        Q_EMIT closed();
    else
        m_pendingReset = true;
}

int Query::fieldIndex(QStringView name) const {
    return db::fieldIndex(m_fields, name);
}

int Query::requireField(QStringView name) const {
    return db::requireField(m_fields, name);
}

void Query::setPosition(int position) {
    if (position == m_pos)
        return;
    m_pos = position;
    if (m_disabled == 0)
        Q_EMIT currentChanged(m_pos);
}

void Query::first() {
    m_bof = true;
    m_eof = m_order.empty();
    setPosition(m_order.empty() ? -1 : 0);
}

void Query::last() {
    m_eof = true;
    m_bof = m_order.empty();
    setPosition(m_order.empty() ? -1 : recordCount() - 1);
}

void Query::next() {
    m_bof = false;
    if (m_pos + 1 >= recordCount()) {
        m_eof = true;
        return;
    }
    m_eof = false;
    setPosition(m_pos + 1);
}

void Query::prior() {
    m_eof = false;
    if (m_pos <= 0) {
        m_bof = true;
        return;
    }
    m_bof = false;
    setPosition(m_pos - 1);
}

void Query::moveTo(int position) {
    if (m_order.empty())
        return;
    position = std::clamp(position, 0, recordCount() - 1);
    m_bof = m_eof = false;
    setPosition(position);
}

int Query::rowAt(int position) const {
    if (position < 0 || position >= recordCount())
        return -1;
    return m_order[std::size_t(position)];
}

std::optional<QByteArrayView> Query::rawAt(int position, int column) const {
    const int row = rowAt(position);
    return row < 0 ? std::nullopt : m_rows.value(row, column);
}

std::optional<QByteArrayView> Query::raw(int column) const {
    return rawAt(m_pos, column);
}

bool Query::isNull(int column) const {
    return !raw(column).has_value();
}

QString Query::asString(int column) const {
    return stringAt(m_pos, column);
}

QString Query::stringAt(int position, int column) const {
    const auto v = rawAt(position, column);
    return v ? value::toText(*v) : QString();
}

qint64 Query::asInt(int column) const {
    const auto v = raw(column);
    return v ? value::toInt(*v) : 0;
}

double Query::asFloat(int column) const {
    const auto v = raw(column);
    return v ? value::toFloat(*v) : 0.0;
}

DateTimeValue Query::asDateTime(int column) const {
    const auto v = raw(column);
    return v ? value::toDateTime(*v) : 0.0;
}

QString Query::displayText(int column) const {
    return displayTextAt(m_pos, column);
}

QString Query::displayTextAt(int position, int column) const {
    if (column < 0 || column >= fieldCount())
        return {};
    return value::displayText(field(column), rawAt(position, column));
}

QString Query::bookmark() const {
    const int row = rowAt(m_pos);
    return row < 0 ? QString() : QString::number(row);
}

bool Query::gotoBookmark(const QString& bookmark) {
    bool ok = false;
    const int row = bookmark.toInt(&ok);
    if (!ok || row < 0 || row >= m_rows.rowCount())
        return false;
    const auto it = std::find(m_order.begin(), m_order.end(), row);
    if (it == m_order.end())
        return false;
    m_bof = m_eof = false;
    setPosition(int(it - m_order.begin()));
    return true;
}

bool Query::locate(QStringView fieldName, const QString& value, bool caseSensitive) {
    const int column = requireField(fieldName);
    const Field& f = field(column);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int p = 0; p < recordCount(); ++p) {
        const auto v = rawAt(p, column);
        const QString text = f.isNumeric() || f.isDateOrTime() ? value::displayText(f, v)
                             : v                               ? value::toText(*v)
                                                               : QString();
        if (text.compare(value, cs) == 0) {
            m_bof = m_eof = false;
            setPosition(p);
            return true;
        }
    }
    return false;
}

void Query::sortBy(QStringView fieldName) {
    const int column = requireField(fieldName);
    if (QStringView(m_sortField).compare(fieldName, Qt::CaseInsensitive) == 0)
        return;
    const int currentRow = rowAt(m_pos);
    const Field& f = field(column);
    std::vector<int> order(std::size_t(m_rows.rowCount()));
    std::iota(order.begin(), order.end(), 0);
    auto nullFirst = [&](int a, int b, auto&& less) {
        const auto va = m_rows.value(a, column);
        const auto vb = m_rows.value(b, column);
        if (!va || !vb)
            return !va && vb;
        return less(*va, *vb);
    };
    if (f.isNumeric()) {
        std::vector<double> keys(order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            const auto v = m_rows.value(int(i), column);
            keys[i] = v ? value::toFloat(*v) : 0.0;
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return nullFirst(
                a, b, [&](auto, auto) { return keys[std::size_t(a)] < keys[std::size_t(b)]; });
        });
    } else if (f.isDateOrTime()) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return nullFirst(a, b, [](QByteArrayView x, QByteArrayView y) { return x < y; });
        });
    } else {
        // Texts in the order a Czech reader expects: č after c, ch after h, case ignored first.
        QCollator collator{QLocale()};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            const auto v = m_rows.value(int(i), column);
            keys.push_back(collator.sortKey(v ? value::toText(*v) : QString()));
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return nullFirst(a, b, [&](auto, auto) {
                return keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
            });
        });
    }
    m_order = std::move(order);
    m_sortField = f.name;
    const auto it = std::find(m_order.begin(), m_order.end(), currentRow);
    m_pos = it == m_order.end() ? (m_order.empty() ? -1 : 0) : int(it - m_order.begin());
    if (m_disabled == 0) {
        Q_EMIT reordered();
        Q_EMIT currentChanged(m_pos);
    } else {
        m_pendingReset = true;
    }
}

void Query::enableControls() {
    if (m_disabled == 0)
        return;
    if (--m_disabled > 0)
        return;
    if (m_pendingReset) {
        m_pendingReset = false;
        Q_EMIT reordered();
    }
    Q_EMIT currentChanged(m_pos);
}

} // namespace vaha::db
