#pragma once

#include "db/connection.h"

#include <QPointer>
#include <QStringList>
#include <functional>

namespace vaha::db {

class Connection;

// Runs a script of statements separated by ';' on the shared connection, one by one in script
// order. The first failing statement ends the run with the server's text; when a transaction
// the script began is still open at that point, ROLLBACK is sent first, so no transaction is
// ever left open on the shared connection.
class ScriptRunner {
public:
    explicit ScriptRunner(Connection* connection = nullptr) : m_connection(connection) {}

    void setConnection(Connection* connection) { m_connection = connection; }
    Connection* connection() const { return m_connection; }

    QStringList& script() { return m_script; }
    const QStringList& script() const { return m_script; }
    void clear() { m_script.clear(); }
    void addLine(const QString& line) { m_script.append(line); }

    // Writes the lines in Windows-1250 with CR LF, replacing the file.
    void saveToFile(const QString& path) const;

    // Called after each statement has run, with its index and text; may run statements of its
    // own inside the script's transaction. An exception from it fails the run like a statement.
    using AfterStatement = std::function<void(int index, const QString& statement)>;
    void execute(const AfterStatement& afterStatement = {});

    // The script text cut at ';' outside quoted text and comments; blank pieces are dropped.
    static QStringList splitStatements(const QString& text);

private:
    QPointer<Connection> m_connection;
    QStringList m_script;
};

} // namespace vaha::db
