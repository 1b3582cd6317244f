#include "lookup/searchlistmodel.h"

#include "lookup/searchlists.h"

namespace vaha::lookup {

SearchListModel::SearchListModel(const SearchLists& lists, QObject* parent)
    : QAbstractListModel(parent), m_lists(lists) {}

void SearchListModel::setShown(std::vector<int> shown) {
    beginResetModel();
    m_shown = std::move(shown);
    endResetModel();
}

int SearchListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant SearchListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count())
        return {};
    return m_lists.value(entry(index.row()));
}

} // namespace vaha::lookup
