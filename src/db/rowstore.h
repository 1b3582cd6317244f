#pragma once

#include <QByteArrayView>
#include <memory>
#include <optional>
#include <vector>

namespace vaha::db {

// Rows of a result kept in memory as the server sent them, packed into large blocks: per row a
// format byte, one end offset per column (16 bits when the row is short, 32 bits otherwise,
// the top bit marking NULL) and the values' bytes. Close to the size of the raw result.
class RowStore {
public:
    void reset(int columns);
    void append(const char* const* values, const unsigned long* lengths);

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return m_columns; }
    std::optional<QByteArrayView> value(int row, int column) const;
    bool isNull(int row, int column) const { return !value(row, column).has_value(); }

    // Bytes held for the rows, blocks and index included.
    std::size_t memoryUsage() const;

private:
    char* allocate(std::size_t bytes);

    static constexpr std::size_t kBlockSize = 1u << 20;
    int m_columns = 0;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::vector<std::size_t> m_blockSizes;
    std::size_t m_blockUsed = 0;
    std::vector<const char*> m_rows;
};

} // namespace vaha::db
