#include "lookup/searchtext.h"

namespace vaha::lookup {

LocaleText::LocaleText(const QLocale& locale) : m_locale(locale), m_collator(locale) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

} // namespace vaha::lookup
