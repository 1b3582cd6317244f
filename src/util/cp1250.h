#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Windows-1250, the code page of every text that leaves the program: the database session,
// the configuration files, the warehouses list, the scale files, aa.txt and verze.log.
// Inside the program texts are QString; these functions are the border.
namespace vaha::cp1250 {

// Bytes to text. Every byte has a character, so decoding never fails.
QString decode(QByteArrayView bytes);

// Text to bytes. Throws vaha::Error naming the first character that Windows-1250 cannot
// hold, so that nothing is ever stored as '?'.
QByteArray encode(QStringView text);

// Text to bytes, with '?' for characters that cannot be held. Only for diagnostics.
QByteArray encodeLossy(QStringView text);

// Index of the first character that Windows-1250 cannot hold, or -1.
qsizetype firstUnencodable(QStringView text);

bool canEncode(QStringView text);

} // namespace vaha::cp1250
