#include "update/versioncheck.h"

#include "update/download.h"
#include "update/selfupdate.h"
#include "update/updatenames.h"
#include "util/cp1250.h"
#include "util/error.h"
#include "util/fileutil.h"
#include "util/textutil.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>

namespace vaha::update {
namespace {

// Blanks and control characters at both ends, as the single-byte trim knows them.
QString trimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

bool fileHashIs(const QString& path, const QByteArray& expectedHex) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return false;
    return hash.result().toHex() == expectedHex;
}

bool makeExecutable(const QString& path) {
    const QFile::Permissions p = QFile::permissions(path);
    return QFile::setPermissions(path, p | QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup |
                                           QFile::ExeOther);
}

// The installer fetched and checked; false when it cannot be used.
bool fetchInstaller(const QString& address, const QString& path,
                    const std::optional<QByteArray>& expectedHash) {
    bool fetched = false;
    try {
        fetched = DownloadToFile(address, path);
    } catch (const std::exception&) {
        return false; // e.g. the installer file still in use
    }
    if (!fetched)
        return false; // never fall back on an installer left from an earlier check
    if (expectedHash && !fileHashIs(path, *expectedHash)) {
        QFile::remove(path);
        return false;
    }
    return makeExecutable(path);
}

} // namespace

QString remoteVersionText(QStringView line, QStringView programFileName) {
    QString text = ReplaceTextNoCase(line, programFileName, u"|");
    text = ReplaceTextNoCase(text, u".000", u"|");
    return trimControls(TokenAt(text, u'|', 1));
}

QString localVersionText(const QString& programPath) {
    return formatMoment(FileAgeDate(programPath));
}

bool isNewerVersion(const QString& remote, const QString& local) {
    return cp1250::encodeLossy(remote) > cp1250::encodeLossy(local);
}

std::optional<QByteArray> publishedInstallerHash(const QStringList& versionLines,
                                                 QStringView installerFileName) {
    static const QRegularExpression hexHash(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    for (qsizetype i = 2; i < versionLines.size(); ++i) {
        const QStringList words = versionLines[i].simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty() || !hexHash.match(words[0]).hasMatch())
            continue;
        if (words.size() > 1) {
            QStringView name = words[1];
            if (name.startsWith(u'*')) // sha256sum's binary mode
                name = name.mid(1);
            if (name.compare(installerFileName, Qt::CaseInsensitive) != 0)
                continue;
        }
        return words[0].toLatin1().toLower();
    }
    return std::nullopt;
}

QString CheckNewVersion(const QString& baseName, const QString& programFileName, bool download) {
    return CheckNewVersion(updateProgramDirectory(), updateBaseUrl(), baseName, programFileName,
                           download);
}

QString CheckNewVersion(const QString& programDirectory, const QString& baseUrl,
                        const QString& baseName, const QString& programFileName, bool download) {
    const QString versionFile = versionFileName(baseName);
    const QString installerFile = installerFileName(baseName);
    const QString versionPath = programDirectory + versionFile;

    // An old version file never counts: only what the server gives now.
    if (QFile::exists(versionPath))
        QFile::remove(versionPath);
    try {
        DownloadToFile(baseUrl + versionFile, versionPath);
    } catch (const std::exception&) {
    }
    if (!QFile::exists(versionPath))
        return QString::fromUtf16(kResultNotNewer);

    const QStringList lines = readLinesCp1250(versionPath);
    if (lines.size() < 2)
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(1));
    const QString remote = remoteVersionText(lines[1], programFileName);
    const QString local = localVersionText(programDirectory + programFileName);
    QString result =
        QString::fromUtf16(isNewerVersion(remote, local) ? kResultNewer : kResultNotNewer);

    writeLinesCp1250(
        programDirectory + QString::fromUtf16(kVersionReportFile),
        {QStringLiteral("Verze programu: ") + local, QStringLiteral("Verze internet: ") + remote});

    if (result == QStringView(kResultNewer) && download &&
        !fetchInstaller(baseUrl + installerFile, programDirectory + installerFile,
                        publishedInstallerHash(lines, installerFile))) {
        result = QString::fromUtf16(kResultConnection);
    }
    return result;
}

} // namespace vaha::update
