#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// Text helpers shared by the windows. One character of a QString stands for one byte of the
// Windows-1250 text the program works with, so positions and lengths count bytes as well.
namespace vaha {

// Field `index` (from 0) of `text` split at `separator`. Every separator ends a field, empty
// fields count, nothing is trimmed; a negative index or one beyond the last field gives "".
QString TokenAt(QStringView text, QChar separator, int index);

// 1-based position of `needle` in `text`, searching from `start` (below 1 counts as 1);
// 0 when not found, when `needle` is empty or when it is longer than the searched part.
int PosFrom(QStringView needle, QStringView text, int start);

// Every occurrence of `oldText` replaced by `newText`, letter case ignored. The search goes
// on after the inserted text, so it never looks into a replacement again.
QString ReplaceTextNoCase(QStringView text, QStringView oldText, QStringView newText);

// Upper case as the single-byte code page knows it: accented letters included, the length
// never changes, and a letter whose capital is not in Windows-1250 stays as it is.
QString upperCaseCp1250(QStringView text);
QChar upperCaseCp1250(QChar c);

} // namespace vaha
