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

void SearchLists::reserve(int count) {
    m_bookmarks.reserve(std::size_t(count));
    m_values.reserve(std::size_t(count));
    m_upper.reserve(std::size_t(count));
}

int SearchLists::append(const QString& bookmark, const QString& value, const LocaleText& text) {
    m_bookmarks.push_back(bookmark);
    m_values.push_back(value);
    m_upper.push_back(text.upper(value));
    return count() - 1;
}

void SearchLists::build(db::Query& query, int field, const LocaleText& text) {
    ControlsDisabled still(query);
    clear();
    reserve(query.recordCount());
    for (query.first(); !query.eof(); query.next())
        append(query.bookmark(), query.displayText(field), text);
    query.first();
}

} // namespace vaha::lookup
