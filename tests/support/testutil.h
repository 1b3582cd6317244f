#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vaha::test {

// Writes bytes to a file, creating its directory; fails the test when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// A QTemporaryDir whose path ends without a separator; fails the test when it cannot be made.
QString makeTempDir(QTemporaryDir& dir);

// Sets a file's modification time (seconds since 1970); fails the test when it cannot.
void setMtime(const QString& path, qint64 secs);

} // namespace vaha::test
