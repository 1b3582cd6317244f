#include "support/testutil.h"

#include "util/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <utime.h>

namespace vaha::test {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw Error(QStringLiteral("Cannot write test file %1").arg(path));
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot read test file %1").arg(path));
    return f.readAll();
}

QString makeTempDir(QTemporaryDir& dir) {
    if (!dir.isValid())
        throw Error(QStringLiteral("Cannot create a temporary directory"));
    return dir.path();
}

void setMtime(const QString& path, qint64 secs) {
    utimbuf t{time_t(secs), time_t(secs)};
    QVERIFY(::utime(QFile::encodeName(path).constData(), &t) == 0);
}

} // namespace vaha::test
