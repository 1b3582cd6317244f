#include "support/testdatabase.h"

#include "db/query.h"
#include "db/scriptrunner.h"
#include "util/error.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <atomic>
#include <unistd.h>

namespace vaha::test {
namespace {

std::atomic<int> g_counter{0};

QString requireEnv(const char* name) {
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty()) {
        throw Error(QStringLiteral("%1 is not set: run the tests through ctest, which starts the "
                                   "private database server")
                        .arg(QLatin1String(name)));
    }
    return value;
}

} // namespace

QString TestDatabase::host() {
    return qEnvironmentVariable("VAHA_TEST_DB_HOST", QStringLiteral("127.0.0.1"));
}

int TestDatabase::port() {
    return requireEnv("VAHA_TEST_DB_PORT").toInt();
}

QString TestDatabase::sourceDir() {
    return requireEnv("VAHA_SOURCE_DIR");
}

TestDatabase::TestDatabase(const QString& tag, bool withSchema) {
    QString base = tag.isEmpty() ? QCoreApplication::applicationName() : tag;
    base.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")), QStringLiteral("_"));
    m_name = QStringLiteral("t_%1_%2_%3").arg(base.left(30)).arg(::getpid()).arg(g_counter++);
    m_admin = std::make_unique<db::Connection>();
    m_admin->setHost(host());
    m_admin->setPort(port());
    m_admin->setUser(QStringLiteral("root"));
    try {
        m_admin->connect();
    } catch (const Error& e) {
        throw Error(
            QStringLiteral("The private test database server on port %1 does not answer: %2")
                .arg(port())
                .arg(e.message()));
    }
    m_admin->execute(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    m_admin->execute(
        QStringLiteral("CREATE DATABASE `%1` CHARACTER SET cp1250 COLLATE cp1250_general_ci")
            .arg(m_name));
    m_admin->execute(QStringLiteral("USE `%1`").arg(m_name));
    m_admin->setDatabase(m_name);
    m_admin->execute(QStringLiteral("set @@session.sql_mode=\"\""));
    if (withSchema)
        runScriptFile(sourceDir() + QStringLiteral("/sql/schema.sql"));
}

TestDatabase::~TestDatabase() {
    try {
        if (!qEnvironmentVariableIsSet("VAHA_KEEP_TEST_DB"))
            m_admin->execute(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    } catch (...) {
    }
}

std::unique_ptr<db::Connection> TestDatabase::connect() const {
    auto c = std::make_unique<db::Connection>();
    c->setHost(host());
    c->setPort(port());
    c->setUser(QStringLiteral("root"));
    c->setDatabase(m_name);
    return c;
}

void TestDatabase::exec(const QString& statement) {
    m_admin->execute(statement);
}

void TestDatabase::runScriptFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open %1").arg(path));
    db::ScriptRunner runner(m_admin.get());
    runner.addLine(QString::fromUtf8(f.readAll()));
    runner.execute();
}

QString TestDatabase::scalar(const QString& statement) {
    db::Query q(m_admin.get());
    q.addLine(statement);
    q.open();
    return q.isEmpty() || q.fieldCount() == 0 ? QString() : q.asString(0);
}

qint64 TestDatabase::scalarInt(const QString& statement) {
    return scalar(statement).toLongLong();
}

void TestDatabase::loadDemoData() {
    runScriptFile(sourceDir() + QStringLiteral("/sql/demo-data.sql"));
}

} // namespace vaha::test
