#pragma once

#include "db/connection.h"

#include <QString>
#include <memory>

namespace vaha::test {

// A database of its own on the private test server, with the reference schema loaded, dropped
// again when the object goes. Fails loudly (never skips) when the server is not there.
class TestDatabase {
public:
    // `tag` becomes part of the database name; empty takes the test program's name.
    explicit TestDatabase(const QString& tag = {}, bool withSchema = true);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const QString& name() const { return m_name; }
    static QString host();
    static int port();

    // A new connection to this database, set up as the program sets up its own.
    std::unique_ptr<db::Connection> connect() const;
    // The connection used to set the database up (cp1250 session, empty SQL mode).
    db::Connection& admin() { return *m_admin; }

    void exec(const QString& statement);
    void runScriptFile(const QString& path);  // statements separated by ';', UTF-8 file
    QString scalar(const QString& statement); // first column of the first row, "" for none
    qint64 scalarInt(const QString& statement);

    void loadDemoData();

    static QString sourceDir();

private:
    QString m_name;
    std::unique_ptr<db::Connection> m_admin;
};

} // namespace vaha::test
