#pragma once

#include <QString>
#include <vector>

namespace vaha::lookup {

class LocaleText;
class SearchLists;

// The dialog's three ways of searching.
enum class SearchMode {
    Plain,      // type a whole value; accepting locates it
    Prefix,     // list; typing jumps to the nearest entry that begins with the text
    PartOfText, // list; typing keeps the entries that contain the text
};

// The prefix search over the entries on display (indices into `lists`, in list order, which
// is expected to be sorted by the value): the first entry whose beginning is not less than
// `text`, letter case ignored. Not found for an empty text or a text greater than every entry.
struct Nearest {
    bool found = false;
    int index = 0;
};
Nearest FindNearest(const QString& text, const SearchLists& lists, const std::vector<int>& shown,
                    const LocaleText& rules);

// The entries to display for `text`: every entry, in order, unless part-of-text search is on
// and the text is not empty; then the entries whose value contains the text, letter case
// ignored.
std::vector<int> FilterValues(const QString& text, bool partOfText, const SearchLists& lists,
                              const LocaleText& rules);

// Whether Enter accepts ("převzít" is the default button): always in plain mode; in list mode
// only with a selected entry and either part-of-text search or a template that equals the
// selected entry's text exactly, letter case included.
bool acceptIsDefault(SearchMode mode, bool hasSelection, const QString& templateText,
                     const QString& selectedText);

// The dialog's client height: the two fixed panels, the title bar with the border, and in list
// mode ten rows of the list.
namespace layout {
constexpr int kTopPanelHeight = 60;
constexpr int kBottomPanelHeight = 39;
constexpr int kTitleBarHeight = 33;
constexpr int kBorderWidth = 1;
constexpr int kFrameAllowance = kTitleBarHeight + 2 * kBorderWidth; // 35
constexpr int kListRows = 10;
constexpr int kMiddleBorder = 0;
int clientHeight(bool listMode, int rowHeight);
} // namespace layout

} // namespace vaha::lookup
