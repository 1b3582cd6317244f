#include "db/querymodel.h"

#include "db/query.h"

namespace vaha::db {

QueryModel::QueryModel(Query* query, QObject* parent)
    : QAbstractTableModel(parent), m_query(query) {
    connect(query, &Query::opened, this, &QueryModel::rebind);
    connect(query, &Query::closed, this, &QueryModel::rebind);
    connect(query, &Query::reordered, this, &QueryModel::rebind);
    connect(query, &QObject::destroyed, this, &QueryModel::rebind);
    rebind();
}

void QueryModel::setColumns(const QList<GridColumn>& columns) {
    m_columns = columns;
    rebind();
}

void QueryModel::rebind() {
    beginResetModel();
    m_fieldIndex.clear();
    if (m_query && m_query->isOpen()) {
        if (m_columns.isEmpty()) {
            for (int i = 0; i < m_query->fieldCount(); ++i)
                m_fieldIndex.append(i);
        } else {
            for (const GridColumn& c : m_columns)
                m_fieldIndex.append(m_query->fieldIndex(c.fieldName));
        }
    }
    endResetModel();
}

int QueryModel::fieldOfColumn(int column) const {
    return m_fieldIndex.value(column, -1);
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_query || !m_query->isOpen())
        return 0;
    return m_query->recordCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return m_columns.isEmpty() ? int(m_fieldIndex.size()) : int(m_columns.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_query || !m_query->isOpen())
        return {};
    const int field = fieldOfColumn(index.column());
    if (field < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_query->displayTextAt(index.row(), field);
    case Qt::TextAlignmentRole: {
        if (index.column() < m_columns.size() && m_columns[index.column()].cellAlignment)
            return QVariant::fromValue(*m_columns[index.column()].cellAlignment | Qt::AlignVCenter);
        const bool right = m_query->field(field).isNumeric();
        return QVariant::fromValue((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    const GridColumn* column = section < m_columns.size() ? &m_columns[section] : nullptr;
    switch (role) {
    case Qt::DisplayRole: {
        if (column && !column->caption.isEmpty())
            return column->caption;
        const int field = fieldOfColumn(section);
        if (field >= 0)
            return m_query->field(field).name;
        return column ? column->fieldName : QVariant();
    }
    case Qt::TextAlignmentRole:
        if (column && column->titleAlignment)
            return QVariant::fromValue(*column->titleAlignment | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags QueryModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace vaha::db
