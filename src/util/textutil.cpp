#include "util/textutil.h"

#include "util/cp1250.h"

namespace vaha {

QString TokenAt(QStringView text, QChar separator, int index) {
    if (index < 0)
        return {};
    qsizetype begin = 0;
    for (int field = 0; field < index; ++field) {
        const qsizetype sep = text.indexOf(separator, begin);
        if (sep < 0)
            return {};
        begin = sep + 1;
    }
    qsizetype end = text.indexOf(separator, begin);
    if (end < 0)
        end = text.size();
    return text.mid(begin, end - begin).toString();
}

int PosFrom(QStringView needle, QStringView text, int start) {
    const qsizetype from = start < 1 ? 0 : qsizetype(start) - 1;
    if (needle.isEmpty() || from >= text.size() || needle.size() > text.size() - from)
        return 0;
    const qsizetype found = text.indexOf(needle, from, Qt::CaseSensitive);
    return found < 0 ? 0 : int(found + 1);
}

QChar upperCaseCp1250(QChar c) {
    if (c.unicode() < 0x80)
        return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 0x20) : c;
    const QChar upper = c.toUpper();
    if (upper == c || !cp1250::canEncode(QStringView(&upper, 1)))
        return c;
    return upper;
}

QString upperCaseCp1250(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const QChar c : text)
        *dst++ = upperCaseCp1250(c);
    return out;
}

QString ReplaceTextNoCase(QStringView text, QStringView oldText, QStringView newText) {
    QString result = text.toString();
    if (oldText.isEmpty())
        return result;
    const QString oldUpper = upperCaseCp1250(oldText);
    int p = PosFrom(oldUpper, upperCaseCp1250(result), 1);
    while (p > 0) {
        result.remove(p - 1, oldText.size());
        result.insert(p - 1, newText);
        p = PosFrom(oldUpper, upperCaseCp1250(result), p + int(newText.size()));
    }
    return result;
}

} // namespace vaha
