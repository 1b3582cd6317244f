#pragma once

#include <QString>

// The names the update check and the installer agree on, in one place.
namespace vaha::update {

// Base name of the version file ("setupvahaplx.ver") and of the installer ("setupvahaplx.run").
inline constexpr char16_t kInstallerBaseName[] = u"setupvahaplx";

// The installed executable in the program directory; its modification time is the local
// version and its name marks the published time in the version file.
inline constexpr char16_t kProgramFileName[] = u"vahaPLX";

inline constexpr char16_t kVersionFileSuffix[] = u".ver";
inline constexpr char16_t kInstallerSuffix[] = u".run";

// The report of the last check that read a version file, beside the program.
inline constexpr char16_t kVersionReportFile[] = u"verze.log";

// Where the update server keeps its files when vahaPLX.ini names no [UPDATE] BaseURL. A file
// is addressed by appending its name, so the address ends with "/".
inline constexpr char16_t kDefaultBaseUrl[] = u"http://localhost/soubory/";

QString versionFileName(const QString& baseName);
QString installerFileName(const QString& baseName);

} // namespace vaha::update
