#pragma once

#include <QAbstractListModel>
#include <vector>

namespace vaha::lookup {

class SearchLists;

// The entries on display in the search list: indices into the value list, in list order.
// Replacing them resets the view once; rows are converted to text only when drawn.
class SearchListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit SearchListModel(const SearchLists& lists, QObject* parent = nullptr);

    void setShown(std::vector<int> shown);
    const std::vector<int>& shown() const { return m_shown; }
    // Value-list index of a row on display.
    int entry(int row) const { return m_shown[std::size_t(row)]; }
    int count() const { return int(m_shown.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const SearchLists& m_lists;
    std::vector<int> m_shown;
};

} // namespace vaha::lookup
