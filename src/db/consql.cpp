#include "db/consql.h"

#include "db/connection.h"
#include "util/datetimevalue.h"
#include "util/error.h"
#include "util/fileutil.h"
#include "util/sysinfo.h"

namespace vaha::db {

int strToInt(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (t.startsWith(u'$'))
        value = t.mid(1).toInt(&ok, 16);
    else if (!t.isEmpty() && t.front() != u'+' && !t.contains(u' '))
        value = t.toInt(&ok, 10);
    else if (t.startsWith(u'+'))
        value = t.mid(1).toInt(&ok, 10);
    if (!ok)
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QString startLogStatement(const Connection& c, const QString& modul, const QString& pc,
                          const QString& stredisko, const QString& moment, const QString& address,
                          const QString& user, const QString& computer, const QString& fileMoment,
                          const QString& version) {
    // Every value is a quoted literal; values from outside the program are escaped so that a
    // quote in a user or computer name cannot break the statement.
    auto q = [&c](const QString& v) {
        const QString quoted = c.quote(v);
        return u'"' + quoted.mid(1, quoted.size() - 2) + u'"';
    };
    return QStringList{
        QStringLiteral("insert into historiem "),
        QStringLiteral("set modul = ") + q(modul) + QStringLiteral(", pc = ") + q(pc) +
            QStringLiteral(", stredisko = ") + q(stredisko) + u',',
        QStringLiteral("datumcas = ") + q(moment) + u',',
        QStringLiteral("ipadr = ") + q(address) + QStringLiteral(", computeruser = ") + q(user) +
            QStringLiteral(", computername = ") + q(computer) + u',',
        QStringLiteral("mdatumcas = ") + q(fileMoment) + QStringLiteral(", mverze=") + q(version)}
        .join(u'\n');
}

LogonSettings applyLogonSettings(Connection& connection, const QString& configPath,
                                 const QString& workstation) {
    LogonSettings current;
    current.host = connection.host();
    current.user = connection.user();
    current.password = connection.password();
    current.workstation = workstation;
    const LogonSettings s = readLogonSettings(configPath, current);
    connection.setHost(s.host);
    connection.setUser(s.user);
    connection.setPassword(s.password);
    connection.setDatabase(s.database);
    return s;
}

void prepareSession(Connection& connection) {
    connection.execute(QStringLiteral("set @@session.sql_mode=\"\""));
    connection.execute(QStringLiteral("SET names cp1250;"));
}

bool connectDatabase(Connection& connection, const QString& sqlPort, const QString& openPort,
                     const QString& pc, const QString& stredisko, const QString& modul) {
    if (!openPort.isEmpty()) {
        connection.setPort(strToInt(openPort));
        try {
            connection.connect();
        } catch (const Error&) {
            // The OPEN port does not answer: the SQL port is tried below.
        }
        if (connection.isConnected()) {
            try {
                // The port matters only for a later reconnect; the session stays as it is.
                connection.setPort(strToInt(sqlPort));
                return false;
            } catch (const Error&) {
                // Swallowed like a failed connect; the conversion below raises it again.
            }
        }
    }
    connection.setPort(strToInt(sqlPort));
    try {
        connection.connect();
    } catch (const Error&) {
        return false;
    }

    const QString address = sysinfo::addressText(sysinfo::localAddress());
    const QString user = sysinfo::userName();
    const QString computer = sysinfo::computerName();
    prepareSession(connection);
    const QString fileMoment = formatMoment(FindFileDate(programFilePath()));
    const QString version = sysinfo::programVersionText();
    connection.execute(startLogStatement(connection, modul, pc, stredisko, formatMoment(nowValue()),
                                         address, user, computer, fileMoment, version));
    return true;
}

} // namespace vaha::db
