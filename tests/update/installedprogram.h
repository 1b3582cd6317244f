#pragma once

// What the update tests share about the installed program file: its modification time, and a
// moment as the version file and verze.log write it.
#include <QDateTime>
#include <QString>

namespace vaha::test {

// The installed program file's time in the update tests (even seconds).
inline constexpr qint64 kInstalledTime = 1715940000;

// "yyyy-mm-dd hh:nn:ss" in local time.
inline QString localText(qint64 secs) {
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace vaha::test
