#pragma once

#include <QStringList>

namespace vaha::report {

// `vahaPLX --pdf ID FILE`: writes the delivery note of ticket ID to FILE as PDF and returns
// the exit status, without showing a window. `arguments` are the program's arguments without
// the program name, starting with "--pdf". Exit status 0 on success, 1 when the note cannot be
// made (server, ticket, template, file), 2 for wrong arguments; the reason goes to stderr.
int runPdfCommand(const QStringList& arguments);

// Before the application object exists: a "--pdf" run shows no window, so it draws its fonts
// on the offscreen platform and needs no display (unless QT_QPA_PLATFORM says otherwise).
void choosePdfCommandPlatform(int argc, char** argv);

} // namespace vaha::report
