#pragma once

#include "db/querymodel.h"

#include <QPointer>
#include <QTableView>

namespace vaha::db {
class Query;
}

namespace vaha::ui {

// A read-only grid over a query: a title row, a row indicator that marks the current row,
// resizable columns and lines between cells. The grid's current row and the query's current
// row follow each other. Colours: cells light beige, titles and the indicator light blue, the
// focused cell green, selected cells yellow.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    void setQuery(db::Query* query);
    db::Query* query() const { return m_query; }
    void setColumns(const QList<db::GridColumn>& columns);
    db::QueryModel* queryModel() const { return m_model; }

    // Whole rows selected (address book) instead of single cells (ticket list).
    void setRowSelect(bool rowSelect);

Q_SIGNALS:
    void titleClicked(int column);

private:
    void applyColumnWidths();
    void followQuery(int position);
    void followGrid(const QModelIndex& current);

    // Cleared when the query goes: the model announces its reset from the query's destroyed().
    QPointer<db::Query> m_query;
    db::QueryModel* m_model = nullptr;
    int m_sizedColumns = -1; // columns sized over the open query; -1: not yet
    bool m_syncing = false;
};

} // namespace vaha::ui
