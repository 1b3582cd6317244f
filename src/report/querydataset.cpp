#include "report/querydataset.h"

#include "db/query.h"

namespace vaha::report {

QStringList QueryDataSet::fieldNames() const {
    QStringList names;
    if (m_query && m_query->isOpen()) {
        for (int i = 0; i < m_query->fieldCount(); ++i)
            names << m_query->field(i).name.toUpper();
    }
    return names;
}

std::optional<Value> QueryDataSet::field(QStringView name) const {
    if (!m_query || !m_query->isOpen())
        return std::nullopt;
    const int column = m_query->fieldIndex(name);
    if (column < 0)
        return std::nullopt;
    if (m_query->isNull(column))
        return Value::null();
    switch (m_query->field(column).type) {
    case db::FieldType::Integer:
    case db::FieldType::Float:
    case db::FieldType::Decimal:
        return Value::ofNumber(m_query->asFloat(column));
    case db::FieldType::Date:
        return Value::ofDate(m_query->asDateTime(column));
    case db::FieldType::DateTime:
        return Value::ofDateTime(m_query->asDateTime(column));
    default:
        return Value::ofText(m_query->asString(column));
    }
}

} // namespace vaha::report
