#pragma once

#include "db/query.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <optional>

namespace vaha::db {

// A grid column bound to a field of a query.
struct GridColumn {
    QString fieldName;
    QString caption;                             // empty: the field's name as the server reports it
    std::optional<Qt::Alignment> cellAlignment;  // empty: numbers right, the rest left
    std::optional<Qt::Alignment> titleAlignment; // empty: left
    int width = -1;                              // pixels; -1: the grid's default for the field
};

// Shows the rows of a query, read-only, converting only the cells a view asks for. Without
// columns it shows every field of the query. Follows the query when it opens, closes or sorts.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryModel(Query* query, QObject* parent = nullptr);

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    Query* query() const { return m_query; }

    // The query's field shown in a column; -1 when the query lacks it or is closed.
    int fieldOfColumn(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void rebind();

    QPointer<Query> m_query;
    QList<GridColumn> m_columns;
    QList<int> m_fieldIndex; // per shown column
};

} // namespace vaha::db
