#pragma once

#include "util/datetimevalue.h"

#include <QString>
#include <QStringList>

namespace vaha {

// Copies a file through one 16 KiB buffer and gives the copy the source's modification time
// (to the two-second resolution of packed file times). True when the whole file was copied.
bool CopyFileKeepDate(const QString& source, const QString& destination);

// Modification time of a file or directory; 0 when nothing is there.
DateTimeValue FindFileDate(const QString& path);

// Modification time of a file; 0 when it is missing or is a directory.
DateTimeValue FileAgeDate(const QString& path);

// Directory of the running executable, always ending in a separator.
QString ProgramDirectory();

// Full path of the running executable.
QString programFilePath();

// Reads a Windows-1250 text file as lines (breaks: CR LF, LF or CR; a final break does not
// add an empty line). Throws "Cannot open file ..." when it cannot be read.
QStringList readLinesCp1250(const QString& path);

// Reads a whole Windows-1250 text file. Throws "Cannot open file ..." when it cannot be read.
QString readTextCp1250(const QString& path);

// Splits a text into lines as readLinesCp1250 does.
QStringList splitLines(QStringView text);

// Writes lines in Windows-1250, each followed by CR LF, replacing the file. Throws
// "Cannot create file ..." when it cannot be created, and vaha::Error when a line holds a
// character that Windows-1250 cannot hold (the file is then left untouched).
void writeLinesCp1250(const QString& path, const QStringList& lines);

// The message of a file that cannot be opened, created or written: "Cannot open file" … with
// the file's absolute path and the system's reason.
enum class FileFailure { Open, Create, Write };
QString fileErrorText(FileFailure failure, const QString& path, const QString& reason);

// Modification time truncated to even seconds, as a packed file time keeps it.
QDateTime evenSecondsFileTime(const QDateTime& moment);

} // namespace vaha
