#include "db/connection.h"

#include "util/cp1250.h"

#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>

namespace vaha::db {

bool DbError::isConnectionLost() const noexcept {
    switch (code()) {
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case CR_CONNECTION_ERROR:
    case CR_CONN_HOST_ERROR:
    case CR_SERVER_LOST_EXTENDED:
    case ER_CONNECTION_KILLED:
    case ER_SERVER_SHUTDOWN:
        return true;
    default:
        return false;
    }
}

bool DbError::isRetryableLockError() const noexcept {
    // InnoDB reports a deadlock met while waiting for a table's auto-increment lock (an
    // INSERT ... SELECT takes it) as a failed read of the auto-increment value.
    return code() == ER_LOCK_DEADLOCK || code() == ER_LOCK_WAIT_TIMEOUT ||
           code() == ER_AUTOINC_READ_FAILED;
}

namespace {

// The client library wants its one-time initialisation before any thread uses it.
struct LibraryInit {
    LibraryInit() { mysql_library_init(0, nullptr, nullptr); }
    ~LibraryInit() { mysql_library_end(); }
};

void ensureLibrary() {
    static LibraryInit init;
}

QString serverText(MYSQL* m) {
    return cp1250::decode(QByteArrayView(mysql_error(m)));
}

// Reads and drops any further results of the statement just read, so that the connection is
// ready for the next one.
void dropRemainingResults(MYSQL* m) {
    while (mysql_next_result(m) == 0) {
        if (MYSQL_RES* extra = mysql_store_result(m))
            mysql_free_result(extra);
    }
}

} // namespace

Connection::Connection(QObject* parent) : QObject(parent) {}

Connection::~Connection() {
    if (m_mysql)
        mysql_close(m_mysql);
}

void Connection::connect() {
    if (m_mysql)
        return;
    ensureLibrary();
    MYSQL* m = mysql_init(nullptr);
    if (!m)
        throw DbError(QStringLiteral("SQL Error: out of memory"), CR_OUT_OF_MEMORY);
    // Always TCP: the library would take "localhost" for its local socket and ignore the port.
    const unsigned int protocol = MYSQL_PROTOCOL_TCP;
    mysql_optionsv(m, MYSQL_OPT_PROTOCOL, &protocol);
    mysql_optionsv(m, MYSQL_SET_CHARSET_NAME, "cp1250");
    const unsigned int timeout = unsigned(m_connectTimeout);
    mysql_optionsv(m, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    const my_bool reconnect = 0;
    mysql_optionsv(m, MYSQL_OPT_RECONNECT, &reconnect);
    mysql_optionsv(m, MYSQL_READ_DEFAULT_GROUP, nullptr);

    const QByteArray host = cp1250::encodeLossy(m_host);
    const QByteArray user = cp1250::encodeLossy(m_user);
    const QByteArray password = cp1250::encodeLossy(m_password);
    const QByteArray database = cp1250::encodeLossy(m_database);
    if (!mysql_real_connect(m, host.constData(), user.constData(), password.constData(),
                            database.isEmpty() ? nullptr : database.constData(), unsigned(m_port),
                            nullptr, CLIENT_MULTI_RESULTS)) {
        const DbError error(QStringLiteral("SQL Error: ") + serverText(m), mysql_errno(m));
        mysql_close(m);
        throw error;
    }
    mysql_autocommit(m, 1);
    m_mysql = m;
    Q_EMIT connected();
}

void Connection::disconnect() {
    if (!m_mysql)
        return;
    mysql_close(m_mysql);
    m_mysql = nullptr;
    Q_EMIT disconnected();
}

DbError Connection::currentError() const {
    return DbError(QStringLiteral("SQL Error: ") + serverText(m_mysql), mysql_errno(m_mysql));
}

void Connection::raise(const DbError& error) {
    if (error.isConnectionLost())
        disconnect();
    throw error;
}

void Connection::fail() {
    raise(currentError());
}

QString Connection::quote(QStringView text) const {
    const QByteArray bytes = cp1250::encode(text);
    QByteArray escaped(bytes.size() * 2 + 1, Qt::Uninitialized);
    unsigned long n = 0;
    if (m_mysql) {
        n = mysql_real_escape_string(m_mysql, escaped.data(), bytes.constData(),
                                     static_cast<unsigned long>(bytes.size()));
    } else {
        // Same escaping the library applies for a single-byte character set.
        char* out = escaped.data();
        for (const char c : bytes) {
            switch (c) {
            case '\0':
                *out++ = '\\';
                *out++ = '0';
                break;
            case '\n':
                *out++ = '\\';
                *out++ = 'n';
                break;
            case '\r':
                *out++ = '\\';
                *out++ = 'r';
                break;
            case '\\':
                *out++ = '\\';
                *out++ = '\\';
                break;
            case '\'':
                *out++ = '\\';
                *out++ = '\'';
                break;
            case '"':
                *out++ = '\\';
                *out++ = '"';
                break;
            case '\032':
                *out++ = '\\';
                *out++ = 'Z';
                break;
            default:
                *out++ = c;
            }
        }
        n = static_cast<unsigned long>(out - escaped.data());
    }
    escaped.truncate(qsizetype(n));
    return u'\'' + cp1250::decode(escaped) + u'\'';
}

QString Connection::quoteIdentifier(QStringView name) {
    QString escaped = name.toString();
    escaped.replace(u'`', QStringLiteral("``"));
    return u'`' + escaped + u'`';
}

void Connection::send(const QString& statement) {
    const QByteArray bytes = cp1250::encode(statement); // refuses what cp1250 cannot hold
    connect();
    ++m_statementCount;
    if (m_observer)
        m_observer(statement);
    if (mysql_real_query(m_mysql, bytes.constData(), static_cast<unsigned long>(bytes.size())) != 0)
        fail();
}

void Connection::execute(const QString& statement) {
    send(statement);
    // Drain every result the statement produced so the connection is ready for the next one.
    for (;;) {
        if (MYSQL_RES* res = mysql_store_result(m_mysql))
            mysql_free_result(res);
        else if (mysql_field_count(m_mysql) != 0)
            fail();
        else {
            m_affectedRows = mysql_affected_rows(m_mysql);
            m_lastInsertId = mysql_insert_id(m_mysql);
        }
        const int more = mysql_next_result(m_mysql);
        if (more > 0)
            fail();
        if (more < 0)
            break;
    }
}

void Connection::query(const QString& statement, ResultReader& reader) {
    send(statement);
    MYSQL_RES* res = mysql_use_result(m_mysql);
    if (!res) {
        if (mysql_field_count(m_mysql) != 0)
            fail();
        // A statement without rows: an empty result with no fields.
        reader.begin(0, nullptr);
        reader.end();
        dropRemainingResults(m_mysql);
        return;
    }
    struct Free {
        MYSQL_RES* r;
        ~Free() {
            if (r)
                mysql_free_result(r);
        }
    } guard{res};
    reader.begin(int(mysql_num_fields(res)), mysql_fetch_fields(res));
    while (MYSQL_ROW row = mysql_fetch_row(res))
        reader.row(row, mysql_fetch_lengths(res));
    if (mysql_errno(m_mysql) != 0) {
        // Free the result while its connection still exists: raise() may close it.
        const DbError error = currentError();
        mysql_free_result(res);
        guard.r = nullptr;
        raise(error);
    }
    reader.end();
    dropRemainingResults(m_mysql);
}

} // namespace vaha::db
