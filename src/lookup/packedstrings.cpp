#include "lookup/packedstrings.h"

namespace vaha::lookup {

void PackedStrings::clear() {
    m_buffer.clear();
    m_starts.clear();
}

void PackedStrings::reserve(int count, qsizetype characters) {
    m_starts.reserve(std::size_t(count));
    m_buffer.reserve(characters);
}

void PackedStrings::append(QStringView text) {
    m_starts.push_back(m_buffer.size());
    m_buffer.append(text);
    m_buffer.append(kSeparator);
}

void PackedStrings::assign(QString buffer) {
    m_buffer = std::move(buffer);
    m_starts.clear();
    qsizetype start = 0;
    for (qsizetype end = m_buffer.indexOf(kSeparator); end >= 0;
         end = m_buffer.indexOf(kSeparator, end + 1)) {
        m_starts.push_back(start);
        start = end + 1;
    }
}

qsizetype PackedStrings::endOf(int index) const {
    const std::size_t next = std::size_t(index) + 1;
    return (next < m_starts.size() ? m_starts[next] : m_buffer.size()) - 1;
}

QStringView PackedStrings::at(int index) const {
    const qsizetype start = m_starts[std::size_t(index)];
    return QStringView(m_buffer).sliced(start, endOf(index) - start);
}

int PackedStrings::entryAt(qsizetype position, int from) const {
    int i = from;
    while (i + 1 < count() && m_starts[std::size_t(i) + 1] <= position)
        ++i;
    return i;
}

} // namespace vaha::lookup
