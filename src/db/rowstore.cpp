#include "db/rowstore.h"

#include <cstdint>
#include <cstring>

namespace vaha::db {
namespace {

constexpr std::uint16_t kNull16 = 0x8000u;
constexpr std::uint32_t kNull32 = 0x80000000u;

template <typename T> T load(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

void RowStore::reset(int columns) {
    m_columns = columns;
    m_blocks.clear();
    m_blockSizes.clear();
    m_blockUsed = 0;
    m_rows.clear();
    m_rows.shrink_to_fit();
}

char* RowStore::allocate(std::size_t bytes) {
    if (m_blocks.empty() || m_blockUsed + bytes > m_blockSizes.back()) {
        const std::size_t size = bytes > kBlockSize / 4 ? bytes : kBlockSize;
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_blockSizes.push_back(size);
        m_blockUsed = 0;
        // A row too big for a shared block gets a block of its own; later rows start a new one.
        if (size != kBlockSize) {
            m_blockUsed = size;
            return m_blocks.back().get();
        }
    }
    char* p = m_blocks.back().get() + m_blockUsed;
    m_blockUsed += bytes;
    return p;
}

void RowStore::append(const char* const* values, const unsigned long* lengths) {
    std::size_t data = 0;
    for (int c = 0; c < m_columns; ++c)
        data += values[c] ? lengths[c] : 0;
    const bool wide = data >= kNull16;
    const std::size_t header = 1 + std::size_t(m_columns) * (wide ? 4 : 2);
    char* row = allocate(header + data);
    row[0] = wide ? 1 : 0;
    char* ends = row + 1;
    char* out = row + header;
    std::size_t end = 0;
    for (int c = 0; c < m_columns; ++c) {
        const bool null = values[c] == nullptr;
        if (!null && lengths[c]) {
            std::memcpy(out, values[c], lengths[c]);
            out += lengths[c];
            end += lengths[c];
        }
        if (wide) {
            const std::uint32_t e = std::uint32_t(end) | (null ? kNull32 : 0);
            std::memcpy(ends + 4 * c, &e, 4);
        } else {
            const std::uint16_t e = std::uint16_t(end | (null ? kNull16 : 0));
            std::memcpy(ends + 2 * c, &e, 2);
        }
    }
    m_rows.push_back(row);
}

std::optional<QByteArrayView> RowStore::value(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return std::nullopt;
    const char* r = m_rows[std::size_t(row)];
    const bool wide = r[0] != 0;
    const char* ends = r + 1;
    const char* data = ends + std::size_t(m_columns) * (wide ? 4 : 2);
    std::size_t begin = 0;
    std::size_t end = 0;
    bool null = false;
    if (wide) {
        const std::uint32_t e = load<std::uint32_t>(ends + 4 * column);
        null = e & kNull32;
        end = e & ~kNull32;
        if (column > 0)
            begin = load<std::uint32_t>(ends + 4 * (column - 1)) & ~kNull32;
    } else {
        const std::uint16_t e = load<std::uint16_t>(ends + 2 * column);
        null = e & kNull16;
        end = e & ~kNull16;
        if (column > 0)
            begin = load<std::uint16_t>(ends + 2 * (column - 1)) & ~kNull16;
    }
    if (null)
        return std::nullopt;
    return QByteArrayView(data + begin, qsizetype(end - begin));
}

std::size_t RowStore::memoryUsage() const {
    std::size_t total = m_rows.capacity() * sizeof(const char*);
    for (const std::size_t s : m_blockSizes)
        total += s;
    return total;
}

} // namespace vaha::db
