#pragma once

#include "db/dberror.h"

#include <QObject>
#include <QString>
#include <functional>

struct st_mysql;
struct st_mysql_field;

namespace vaha::db {

class ResultReader;

// The program's one connection to the shared database. Client character set Windows-1250,
// automatic commit on, always TCP to host and port. A statement on a closed connection
// connects first with the current settings; a statement that finds the connection gone
// closes it, so that the next one connects again.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    ~Connection() override;

    // Initial settings: host "localhost", user "root", empty password, no database, port 3306.
    void setHost(const QString& host) { m_host = host; }
    void setUser(const QString& user) { m_user = user; }
    void setPassword(const QString& password) { m_password = password; }
    void setDatabase(const QString& database) { m_database = database; }
    void setPort(int port) { m_port = port; }
    const QString& host() const { return m_host; }
    const QString& user() const { return m_user; }
    const QString& password() const { return m_password; }
    const QString& database() const { return m_database; }
    int port() const { return m_port; }

    // Seconds a connect attempt may take before it counts as failed.
    void setConnectTimeout(int seconds) { m_connectTimeout = seconds; }
    int connectTimeout() const { return m_connectTimeout; }

    void connect(); // does nothing when connected; throws DbError when it cannot connect
    bool isConnected() const { return m_mysql != nullptr; }
    void disconnect(); // does nothing when closed

    // Runs a statement that returns no rows (its rows, if any, are read and dropped).
    void execute(const QString& statement);
    quint64 affectedRows() const { return m_affectedRows; }
    quint64 lastInsertId() const { return m_lastInsertId; }

    // Sends a statement and hands its rows, one by one, to the reader.
    void query(const QString& statement, ResultReader& reader);

    // The text as an SQL string literal between single quotes, escaped for the session's
    // character set; throws vaha::Error for characters that Windows-1250 cannot hold.
    QString quote(QStringView text) const;
    // A table or column name between backticks, a backtick in it doubled.
    static QString quoteIdentifier(QStringView name);

    // Every statement sent, for diagnostics and tests; empty by default.
    void setStatementObserver(std::function<void(const QString&)> observer) {
        m_observer = std::move(observer);
    }

    // Counts of statements sent through this connection since it was created.
    quint64 statementCount() const { return m_statementCount; }

Q_SIGNALS:
    void connected();
    void disconnected();

private:
    void send(const QString& statement);
    [[noreturn]] void fail();
    [[noreturn]] void raise(const DbError& error);
    DbError currentError() const;

    st_mysql* m_mysql = nullptr;
    QString m_host = QStringLiteral("localhost");
    QString m_user = QStringLiteral("root");
    QString m_password;
    QString m_database;
    int m_port = 3306;
    int m_connectTimeout = 10;
    quint64 m_affectedRows = 0;
    quint64 m_lastInsertId = 0;
    quint64 m_statementCount = 0;
    std::function<void(const QString&)> m_observer;
};

// Receives a result set: first its fields, then each row as raw values (nullptr for NULL).
class ResultReader {
public:
    virtual ~ResultReader() = default;
    virtual void begin(int fieldCount, const ::st_mysql_field* fields) = 0;
    virtual void row(const char* const* values, const unsigned long* lengths) = 0;
    virtual void end() {}
};

} // namespace vaha::db
