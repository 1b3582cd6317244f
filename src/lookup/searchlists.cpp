#include "lookup/searchlists.h"

#include "db/query.h"
#include "lookup/searchtext.h"

namespace vaha::lookup {
namespace {

// Holds the query's bound views still for the lifetime of the object.
class ControlsDisabled {
public:
    explicit ControlsDisabled(db::Query& query) : m_query(query) { m_query.disableControls(); }
    ~ControlsDisabled() { m_query.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    db::Query& m_query;
};

} // namespace

void SearchLists::clear() {
    m_bookmarks.clear();
    m_values.clear();
    m_upper.clear();
}

int SearchLists::append(const QString& bookmark, const QString& value, const LocaleText& text) {
    m_bookmarks.append(bookmark);
    m_values.append(value);
    m_upper.append(text.upper(value));
    return count() - 1;
}

void SearchLists::build(db::Query& query, int field, const LocaleText& text) {
    ControlsDisabled still(query);
    clear();
    // Room for everything up front: one byte of the session is one character, a regional
    // number or date is at most a few characters longer than the server's text.
    const int rows = query.recordCount();
    qsizetype characters = 0;
    for (int p = 0; p < rows; ++p) {
        if (const auto raw = query.rawAt(p, field))
            characters += raw->size();
    }
    m_bookmarks.reserve(rows, qsizetype(rows) * (QString::number(rows).size() + 1));
    m_values.reserve(rows, characters + qsizetype(rows) * 5);
    for (query.first(); !query.eof(); query.next()) {
        m_bookmarks.append(query.bookmark());
        m_values.append(query.displayText(field));
    }
    // One upper-casing of the whole list; the separators stay where they are.
    m_upper.assign(text.upper(m_values.buffer()));
    query.first();
}

std::vector<int> SearchLists::entriesContaining(const QString& needle) const {
    std::vector<int> found;
    if (needle.contains(PackedStrings::kSeparator))
        return found;
    const QString& haystack = m_upper.buffer();
    int entry = 0;
    for (qsizetype pos = haystack.indexOf(needle); pos >= 0; pos = haystack.indexOf(needle, pos)) {
        entry = m_upper.entryAt(pos, entry);
        found.push_back(entry);
        pos = m_upper.endOf(entry) + 1; // one hit per entry
    }
    return found;
}

} // namespace vaha::lookup
