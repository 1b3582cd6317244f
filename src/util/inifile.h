#pragma once

#include <QList>
#include <QString>

namespace vaha {

// A read-only INI file in Windows-1250. Section and key names match without regard to case,
// blanks around a value are dropped, and a value in matching double or single quotes loses
// them. A missing file, section or key gives the default; a key present with an empty value
// gives the empty text. Lines starting with ';' or '#' are comments; when a section or key
// appears twice, the first one counts.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString& path); // a file that cannot be read is an empty INI

    static IniFile fromText(QStringView text);

    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    bool hasKey(QStringView section, QStringView key) const;

private:
    struct Entry {
        QString section; // upper-cased
        QString key;     // upper-cased
        QString value;
    };
    const Entry* find(QStringView section, QStringView key) const;
    QList<Entry> m_entries;
};

} // namespace vaha
