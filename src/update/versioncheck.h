#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The version check: the installed program file's time against the build time that the update
// server publishes in its version file.
namespace vaha::update {

// Result letters of a check.
inline constexpr char16_t kResultNewer[] = u"A";      // newer build (installer fetched if asked)
inline constexpr char16_t kResultNotNewer[] = u"N";   // no version file, or not newer
inline constexpr char16_t kResultConnection[] = u"E"; // newer, but the installer is not usable

// Runs the check in the program directory against the update base address (see selfupdate.h).
QString CheckNewVersion(const QString& baseName, const QString& programFileName, bool download);

// The check itself. `programDirectory` ends with a separator, `baseUrl` with "/".
//  1. deletes an old version file, downloads the server's one (errors ignored); none: "N";
//  2. compares the published time (second line) with the program file's time, byte by byte:
//     "A" when the published one is greater, else "N"; writes verze.log;
//  3. for "A" with `download`: fetches the installer. "E" when it could not be fetched, when
//     the version file names its SHA-256 and the fetched file differs (it is then removed),
//     or when it cannot be made executable.
// A version file of fewer than two lines throws "List index out of bounds (1)".
QString CheckNewVersion(const QString& programDirectory, const QString& baseUrl,
                        const QString& baseName, const QString& programFileName, bool download);

// The published time from the version file's second line: the text between the first marker
// and the next one, markers being the program file name (any case) and ".000", trimmed of
// blanks and control characters.
QString remoteVersionText(QStringView line, QStringView programFileName);

// The program file's modification time (even seconds, local time) as "yyyy-mm-dd hh:nn:ss";
// "1899-12-30 00:00:00" when the file is missing.
QString localVersionText(const QString& programPath);

// Byte-wise comparison in Windows-1250; a prefix counts as smaller.
bool isNewerVersion(const QString& remote, const QString& local);

// The installer's SHA-256 from a line after the second: 64 hexadecimal digits, optionally
// followed by the installer's file name (as sha256sum writes it). A line that names another
// file is skipped. Nothing when no such line is there (older version files).
std::optional<QByteArray> publishedInstallerHash(const QStringList& versionLines,
                                                 QStringView installerFileName);

} // namespace vaha::update
