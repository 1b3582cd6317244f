#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace vaha::lookup {

// A list of texts kept end to end in one buffer, each followed by U+0000: building it makes
// no allocation per entry, and a search over all entries is one scan of contiguous memory.
class PackedStrings {
public:
    static constexpr QChar kSeparator = QChar(0);

    void clear();
    void reserve(int count, qsizetype characters);
    void append(QStringView text);
    // Takes a buffer of separator-terminated entries as it is (for example an upper-cased copy
    // of another list, whose entries may differ in length).
    void assign(QString buffer);

    int count() const { return int(m_starts.size()); }
    QStringView at(int index) const;
    const QString& buffer() const { return m_buffer; }
    // The entry that holds the buffer position, searching onwards from entry `from`.
    int entryAt(qsizetype position, int from) const;
    qsizetype endOf(int index) const; // position of the entry's separator

private:
    QString m_buffer;
    std::vector<qsizetype> m_starts;
};

} // namespace vaha::lookup
