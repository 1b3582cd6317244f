#pragma once

#include <QString>
#include <vector>

namespace vaha::db {
class Query;
}

namespace vaha::lookup {

class LocaleText;

// The two lists of one search, built from the data set in one pass: per record its bookmark
// (the position list) and the search field's text (the value list), the same index in both.
// Each value is also kept upper-cased, so that filtering while typing upper-cases only the
// typed text.
class SearchLists {
public:
    void clear();
    void reserve(int count);
    // Appends one record; returns its index.
    int append(const QString& bookmark, const QString& value, const LocaleText& text);

    // Walks the query from its first record to the end, appending each record, and leaves it on
    // its first record. Views bound to the query stay still meanwhile and follow once at the end,
    // also when reading fails.
    void build(db::Query& query, int field, const LocaleText& text);

    int count() const { return int(m_values.size()); }
    const QString& value(int index) const { return m_values[std::size_t(index)]; }
    const QString& upperValue(int index) const { return m_upper[std::size_t(index)]; }
    const QString& bookmark(int index) const { return m_bookmarks[std::size_t(index)]; }

private:
    std::vector<QString> m_bookmarks;
    std::vector<QString> m_values;
    std::vector<QString> m_upper;
};

} // namespace vaha::lookup
