#include "util/fileutil.h"

#include "util/cp1250.h"
#include "util/error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vaha {
namespace {

QDateTime modificationTime(const struct stat& st) {
    return QDateTime::fromSecsSinceEpoch(qint64(st.st_mtim.tv_sec));
}

// Closes a descriptor on every way out.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QDateTime evenSecondsFileTime(const QDateTime& moment) {
    const qint64 secs = moment.toSecsSinceEpoch();
    return QDateTime::fromSecsSinceEpoch(secs - (((secs % 2) + 2) % 2));
}

bool CopyFileKeepDate(const QString& source, const QString& destination) {
    Fd in;
    in.fd = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in.fd < 0)
        return false;
    struct stat st {};
    const bool haveTime = ::fstat(in.fd, &st) == 0;

    Fd out;
    out.fd = ::open(QFile::encodeName(destination).constData(),
                    O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out.fd < 0)
        return false;

    char buffer[16384];
    ssize_t readCount = 0;
    ssize_t written = 0;
    do {
        readCount = ::read(in.fd, buffer, sizeof buffer);
        if (readCount < 0)
            break;
        written = 0;
        while (written < readCount) {
            const ssize_t n = ::write(out.fd, buffer + written, size_t(readCount - written));
            if (n <= 0)
                break;
            written += n;
        }
    } while (readCount > 0 && written == readCount);

    // The copy gets the source's time whatever the outcome, before either file is closed.
    if (haveTime) {
        const qint64 even = evenSecondsFileTime(modificationTime(st)).toSecsSinceEpoch();
        struct timespec times[2];
        times[0].tv_sec = time_t(even);
        times[0].tv_nsec = 0;
        times[1] = times[0];
        ::futimens(out.fd, times);
    }
    return readCount >= 0 && written == readCount;
}

DateTimeValue FindFileDate(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0.0;
    return toDateTimeValue(evenSecondsFileTime(modificationTime(st)));
}

DateTimeValue FileAgeDate(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return 0.0;
    return toDateTimeValue(evenSecondsFileTime(modificationTime(st)));
}

QString programFilePath() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? QFile::decodeName(QByteArray(buf, n)) : QString();
}

QString ProgramDirectory() {
    QString dir = QFileInfo(programFilePath()).absolutePath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QStringList splitLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start).toString());
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
}

QString fileErrorText(FileFailure failure, const QString& path, const QString& reason) {
    const QString verb = failure == FileFailure::Open     ? QStringLiteral("open")
                         : failure == FileFailure::Create ? QStringLiteral("create")
                                                          : QStringLiteral("write");
    return QStringLiteral("Cannot %1 file \"%2\". %3")
        .arg(verb, QFileInfo(path).absoluteFilePath(), reason);
}

QString readTextCp1250(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(fileErrorText(FileFailure::Open, path, file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw Error(fileErrorText(FileFailure::Open, path, file.errorString()));
    }
    return cp1250::decode(bytes);
}

QStringList readLinesCp1250(const QString& path) {
    return splitLines(readTextCp1250(path));
}

void writeLinesCp1250(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += cp1250::encode(line);
        bytes += "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw Error(fileErrorText(FileFailure::Create, path, file.errorString()));
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw Error(fileErrorText(FileFailure::Write, path, file.errorString()));
    }
}

} // namespace vaha
