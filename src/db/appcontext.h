#pragma once

#include "db/connection.h"
#include "db/scriptrunner.h"

#include <QString>
#include <QStringList>

namespace vaha {

// What the main window owns and offers to the other windows: the one database connection, the
// workstation number (CisloPC, known after the show sequence has read the log-on settings),
// the script executor that runs the save script, and the program's command-line arguments.
struct AppContext {
    db::Connection connection;
    QString workstation;
    db::ScriptRunner scriptRunner{&connection};
    QStringList arguments; // without the program name

    // "tmp" + CisloPC + "vaha"
    QString workingTable() const {
        return QStringLiteral("tmp") + workstation + QStringLiteral("vaha");
    }
};

} // namespace vaha
