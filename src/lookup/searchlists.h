#pragma once

#include "lookup/packedstrings.h"

#include <QString>
#include <vector>

namespace vaha::db {
class Query;
}

namespace vaha::lookup {

class LocaleText;

// The two lists of one search, built from the data set in one pass: per record its bookmark
// (the position list) and the search field's text (the value list), the same index in both.
// The values are also kept upper-cased, so that filtering while typing upper-cases only the
// typed text. Entries are packed end to end, so a big data set costs no allocation per record.
class SearchLists {
public:
    void clear();
    // Appends one record; returns its index.
    int append(const QString& bookmark, const QString& value, const LocaleText& text);

    // Walks the query from its first record to the end, appending each record, and leaves it on
    // its first record. Views bound to the query stay still meanwhile and follow once at the end,
    // also when reading fails.
    void build(db::Query& query, int field, const LocaleText& text);

    int count() const { return m_values.count(); }
    QString value(int index) const { return m_values.at(index).toString(); }
    QStringView valueView(int index) const { return m_values.at(index); }
    QStringView upperValue(int index) const { return m_upper.at(index); }
    QString bookmark(int index) const { return m_bookmarks.at(index).toString(); }

    // Indices of the entries whose upper-cased value contains `needle` (already upper-cased).
    std::vector<int> entriesContaining(const QString& needle) const;

private:
    PackedStrings m_bookmarks;
    PackedStrings m_values;
    PackedStrings m_upper;
};

} // namespace vaha::lookup
