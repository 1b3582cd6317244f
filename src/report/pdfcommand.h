#pragma once

#include <QStringList>

namespace vaha::report {

// `vahaPLX --pdf ID FILE`: writes the delivery note of ticket ID to FILE as PDF and returns
// the exit status, without showing a window. `arguments` are the program's arguments without
// the program name, starting with "--pdf".
int runPdfCommand(const QStringList& arguments);

} // namespace vaha::report
