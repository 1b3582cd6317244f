#pragma once

#include "db/query.h"
#include "report/expression.h"

#include <QPointer>

namespace vaha::report {

// A query as a report data set: the current row's columns, typed as the server describes them.
// The report only reads it; it never opens, moves or closes the query.
class QueryDataSet : public DataSet {
public:
    explicit QueryDataSet(db::Query* query) : m_query(query) {}
    db::Query* query() const { return m_query; }

    QStringList fieldNames() const override;
    // A closed query (or none) has no columns.
    std::optional<Value> field(QStringView name) const override;

private:
    QPointer<db::Query> m_query;
};

} // namespace vaha::report
