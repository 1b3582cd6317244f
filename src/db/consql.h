#pragma once

#include "util/configuration.h"

#include <QString>

namespace vaha::db {

class Connection;

// The connect routine: tries the OPEN port first when one is given (a connection made there is
// kept, without session statements and log row, and the result is false); otherwise connects
// through the SQL port, empties the session's SQL mode, sets the cp1250 character set and
// writes one start-up log row into historiem. True only in that last case.
//
// A port text that is not a whole number raises the conversion error; a connect that fails
// returns false without a message; a failing session statement or log insert raises.
bool connectDatabase(Connection& connection, const QString& sqlPort, const QString& openPort,
                     const QString& pc, const QString& stredisko, const QString& modul);

// Reads the log-on settings of the shared configuration file, with the connection's host, user
// and password and the given workstation number as the defaults, and puts host, user, password
// and database into the connection.
LogonSettings applyLogonSettings(Connection& connection, const QString& configPath,
                                 const QString& workstation);

// The session statements of the connect routine: the empty SQL mode and the cp1250 character
// set. A reconnect does not repeat them.
void prepareSession(Connection& connection);

// The five lines of the start-up log insert, values escaped (exposed for tests).
QString startLogStatement(const Connection& connection, const QString& modul, const QString& pc,
                          const QString& stredisko, const QString& moment, const QString& address,
                          const QString& user, const QString& computer, const QString& fileMoment,
                          const QString& version);

// Delphi's StrToInt: decimal (or $hex) with optional sign and surrounding blanks; throws
// "'text' is not a valid integer value".
int strToInt(const QString& text);

} // namespace vaha::db
