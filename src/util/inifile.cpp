#include "util/inifile.h"

#include "util/cp1250.h"
#include "util/fileutil.h"
#include "util/textutil.h"

#include <QFile>
#include <QSet>

namespace vaha {
namespace {

QString stripQuotes(QString value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniFile::IniFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    // A file saved by an editor that adds a UTF-8 signature is read as UTF-8.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        *this = fromText(QString::fromUtf8(bytes.mid(3)));
    else
        *this = fromText(cp1250::decode(bytes));
}

IniFile IniFile::fromText(QStringView text) {
    IniFile ini;
    QString section;
    bool inSection = false;
    QSet<QString> seen;
    for (const QString& raw : splitLines(text)) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            section = upperCaseCp1250(line.mid(1, close < 0 ? -1 : close - 1).trimmed());
            inSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inSection || eq <= 0)
            continue;
        Entry entry{section, upperCaseCp1250(line.left(eq).trimmed()),
                    stripQuotes(line.mid(eq + 1).trimmed())};
        const QString id = entry.section + u'\n' + entry.key;
        if (seen.contains(id))
            continue;
        seen.insert(id);
        ini.m_entries.append(std::move(entry));
    }
    return ini;
}

const IniFile::Entry* IniFile::find(QStringView section, QStringView key) const {
    const QString s = upperCaseCp1250(section.trimmed());
    const QString k = upperCaseCp1250(key.trimmed());
    for (const Entry& e : m_entries) {
        if (e.section == s && e.key == k)
            return &e;
    }
    return nullptr;
}

QString IniFile::readString(QStringView section, QStringView key,
                            const QString& defaultValue) const {
    const Entry* e = find(section, key);
    return e ? e->value : defaultValue;
}

bool IniFile::hasKey(QStringView section, QStringView key) const {
    return find(section, key) != nullptr;
}

} // namespace vaha
