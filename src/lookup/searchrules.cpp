#include "lookup/searchrules.h"

#include "lookup/searchlists.h"
#include "lookup/searchtext.h"

namespace vaha::lookup {

Nearest FindNearest(const QString& text, const SearchLists& lists, const std::vector<int>& shown,
                    const LocaleText& rules) {
    Nearest result;
    if (text.isEmpty())
        return result;
    int low = 0;
    int high = int(shown.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const QStringView part = lists.valueView(shown[std::size_t(middle)]).left(text.size());
        if (rules.compare(part, text) < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            result.found = true;
        }
    }
    result.index = low;
    return result;
}

std::vector<int> FilterValues(const QString& text, bool partOfText, const SearchLists& lists,
                              const LocaleText& rules) {
    std::vector<int> shown;
    const int n = lists.count();
    if (!partOfText || text.isEmpty()) {
        shown.resize(std::size_t(n));
        for (int i = 0; i < n; ++i)
            shown[std::size_t(i)] = i;
        return shown;
    }
    return lists.entriesContaining(rules.upper(text));
}

bool acceptIsDefault(SearchMode mode, bool hasSelection, const QString& templateText,
                     const QString& selectedText) {
    if (mode == SearchMode::Plain)
        return true;
    if (!hasSelection)
        return false;
    return mode == SearchMode::PartOfText || templateText == selectedText;
}

namespace layout {
int clientHeight(bool listMode, int rowHeight) {
    const int fixed = kTopPanelHeight + kBottomPanelHeight + kFrameAllowance;
    return listMode ? kListRows * (rowHeight + 1) + fixed + kMiddleBorder : fixed;
}
} // namespace layout

} // namespace vaha::lookup
