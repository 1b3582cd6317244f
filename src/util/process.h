#pragma once

#include <QString>
#include <QStringList>

namespace vaha {

// Starts another program from a command line alone: the first word (double quotes group
// blanks) names the program, resolved in the program directory, then the current directory,
// then the search path. `hidden` has no meaning on this platform. With `wait`, blocks until the
// process ends. True when the process was created.
bool StartProgram(const QString& commandLine, bool hidden, bool wait);

// The words of a command line: blanks separate, double quotes group and are dropped.
QStringList splitCommandLine(const QString& commandLine);

// Where StartProgram finds the program named by `name`; empty when nowhere.
QString resolveProgram(const QString& name);

} // namespace vaha
