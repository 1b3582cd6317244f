#include "util/cp1250.h"

#include "util/error.h"

#include <QCoreApplication>
#include <array>

namespace vaha::cp1250 {
namespace {

// Characters of the bytes 0x80..0xFF. The five bytes that Windows-1250 leaves undefined map
// to the C1 control of the same value, as Windows' own conversion does.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Reverse table for the characters U+0080..U+02FF and the punctuation block, built once.
struct Reverse {
    std::array<unsigned char, 0x300> latin{};
    std::array<unsigned char, 0x100> punct{}; // U+2000..U+20FF
    unsigned char trade = 0;                  // U+2122
    Reverse() {
        for (int i = 0; i < 128; ++i) {
            const char16_t c = kHigh[static_cast<std::size_t>(i)];
            const auto b = static_cast<unsigned char>(0x80 + i);
            if (c < 0x300)
                latin[c] = b;
            else if (c >= 0x2000 && c < 0x2100)
                punct[c - 0x2000] = b;
            else if (c == 0x2122)
                trade = b;
        }
    }
};

const Reverse& reverse() {
    static const Reverse r;
    return r;
}

// 0 when the character has no byte (0 itself is handled by the caller).
unsigned char byteOf(char16_t c) {
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    const Reverse& r = reverse();
    if (c < 0x300)
        return r.latin[c];
    if (c >= 0x2000 && c < 0x2100)
        return r.punct[c - 0x2000];
    if (c == 0x2122)
        return r.trade;
    return 0;
}

} // namespace

QString decode(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = QChar(b < 0x80 ? char16_t(b) : kHigh[b - 0x80u]);
    }
    return out;
}

qsizetype firstUnencodable(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != 0 && byteOf(c) == 0)
            return i;
    }
    return -1;
}

bool canEncode(QStringView text) {
    return firstUnencodable(text) < 0;
}

QByteArray encode(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const unsigned char b = byteOf(c);
        if (b == 0 && c != 0) {
            // Show the character with a little context so the user finds it in a long text.
            const QString where = text.mid(qMax<qsizetype>(0, i - 10), 21).toString();
            throw Error(
                QCoreApplication::translate(
                    "cp1250", "Znak „%1“ (U+%2) nelze uložit v kódování Windows-1250: „%3“.")
                    .arg(text.mid(i, text[i].isHighSurrogate() ? 2 : 1).toString())
                    .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'))
                    .arg(where));
        }
        *dst++ = static_cast<char>(b);
    }
    return out;
}

QByteArray encodeLossy(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const unsigned char b = byteOf(c);
        *dst++ = static_cast<char>(b == 0 && c != 0 ? '?' : b);
    }
    return out;
}

} // namespace vaha::cp1250
