// The connect routine and the start-up log row, against the real server.
#include "db/connection.h"
#include "db/consql.h"
#include "db/query.h"
#include "support/testdatabase.h"
#include "util/datetimevalue.h"
#include "util/fileutil.h"

#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace vaha;
using vaha::test::TestDatabase;

class TestConnect : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    qint64 logRows() { return m_db->scalarInt(QStringLiteral("select count(*) from historiem")); }

    struct Run {
        bool result = false;
        QStringList statements;
        std::unique_ptr<db::Connection> connection;
    };
    Run connect(const QString& sqlPort, const QString& openPort, const QString& pc) {
        Run run;
        run.connection = m_db->connect();
        run.connection->setConnectTimeout(3);
        run.connection->setStatementObserver([&run](const QString& s) { run.statements << s; });
        run.result = db::connectDatabase(*run.connection, sqlPort, openPort, pc, QString(),
                                         QStringLiteral("Váha PLX"));
        run.connection->setStatementObserver({});
        return run;
    }

private Q_SLOTS:
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void startThroughSqlPortWritesOneRow() {
        const QString port = QString::number(TestDatabase::port());
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        Run run = connect(port, QString(), QStringLiteral("3"));
        QVERIFY(run.result);
        QCOMPARE(run.statements.size(), 3);
        QCOMPARE(run.statements[0], QStringLiteral("set @@session.sql_mode=\"\""));
        QCOMPARE(run.statements[1], QStringLiteral("SET names cp1250;"));
        QCOMPARE(run.statements[2].split(u'\n').size(), 5);
        QCOMPARE(logRows(), 1);

        // Read back through a UTF-8 session of another connection: the letters are stored right.
        m_db->exec(QStringLiteral("set names utf8mb4"));
        db::Query q(&m_db->admin());
        q.addLine(QStringLiteral("select * from historiem"));
        q.open();
        QCOMPARE(m_db->scalar(QStringLiteral("select hex(modul) from historiem")),
                 QStringLiteral("56E1686120504C58")); // "Váha PLX" in Windows-1250
        m_db->exec(QStringLiteral("set names cp1250"));
        QProcess client; // an independent client in UTF-8 reads the same text
        client.start(QStringLiteral("mariadb"),
                     {QStringLiteral("--no-defaults"), QStringLiteral("--protocol=TCP"),
                      QStringLiteral("-h"), TestDatabase::host(), QStringLiteral("-P"),
                      QString::number(TestDatabase::port()), QStringLiteral("-uroot"),
                      QStringLiteral("--default-character-set=utf8mb4"), QStringLiteral("-N"),
                      QStringLiteral("-B"), m_db->name(), QStringLiteral("-e"),
                      QStringLiteral("select modul from historiem")});
        QVERIFY(client.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(client.readAllStandardOutput()).trimmed(),
                 QStringLiteral("Váha PLX"));
        QCOMPARE(q.asString(u"pc"), QStringLiteral("3"));
        QCOMPARE(q.asString(u"stredisko"), QString());
        QVERIFY(!q.isNull(u"stredisko"));
        const QDateTime written = fromDateTimeValue(q.asDateTime(u"datumcas"));
        QVERIFY(written >= before && written <= QDateTime::currentDateTime().addSecs(1));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"))
                    .match(q.asString(u"ipadr"))
                    .hasMatch());
        QVERIFY(!q.asString(u"computeruser").isEmpty());
        QVERIFY(!q.asString(u"computername").isEmpty());
        QCOMPARE(q.asString(u"mdatumcas"), formatMoment(FindFileDate(programFilePath())));
        QCOMPARE(q.asString(u"mverze"), QStringLiteral("-1.0.0.0"));

        // The session was prepared: empty SQL mode, cp1250.
        db::Query s(run.connection.get());
        s.addLine(QStringLiteral("select @@session.sql_mode, @@character_set_connection"));
        s.open();
        QCOMPARE(s.asString(0), QString());
        QCOMPARE(s.asString(1), QStringLiteral("cp1250"));
    }

    void quotesInOutsideValuesCannotBreakTheInsert() {
        Run run = connect(QString::number(TestDatabase::port()), QString(),
                          QStringLiteral("x\"); drop table vazlab; --'"));
        QVERIFY(run.result);
        QCOMPARE(m_db->scalar(QStringLiteral("select pc from historiem")),
                 QStringLiteral("x\"); drop table vazlab; --'"));
        QCOMPARE(m_db->scalarInt(
                     QStringLiteral("select count(*) from information_schema.tables "
                                    "where table_schema = database() and table_name='vazlab'")),
                 1);
    }

    void openPortCases_data() {
        QTest::addColumn<QString>("openPort");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("statements");
        const QString serverPort = QString::number(TestDatabase::port());
        QTest::newRow("open port answers: no row, no session statements")
            << serverPort << false << 0 << 0;
        QTest::newRow("open port silent: as without it") << QStringLiteral("1") << true << 1 << 3;
    }
    void openPortCases() {
        QFETCH(QString, openPort);
        QFETCH(bool, result);
        QFETCH(int, rows);
        QFETCH(int, statements);
        // With the OPEN port answering, the SQL port is deliberately wrong: it is never used.
        const QString sqlPort =
            result ? QString::number(TestDatabase::port()) : QStringLiteral("2");
        Run run = connect(sqlPort, openPort, QStringLiteral("1"));
        QCOMPARE(run.result, result);
        QCOMPARE(logRows(), rows);
        QCOMPARE(run.statements.size(), statements);
        QVERIFY(run.connection->isConnected());
        QCOMPARE(run.connection->port(), sqlPort.toInt()); // for a later reconnect
    }

    void portTextsThatAreNoNumbers_data() {
        QTest::addColumn<QString>("sqlPort");
        QTest::addColumn<QString>("openPort");
        QTest::addColumn<bool>("connectedAfter");
        QTest::newRow("empty SQL port") << QString() << QString() << false;
        QTest::newRow("letters in SQL port") << QStringLiteral("33o6") << QString() << false;
        QTest::newRow("letters in OPEN port")
            << QString::number(TestDatabase::port()) << QStringLiteral("x") << false;
        // Connected through the OPEN port, the bad SQL port still raises; the session stays open.
        QTest::newRow("open port answers, SQL port bad")
            << QStringLiteral("abc") << QString::number(TestDatabase::port()) << true;
    }
    void portTextsThatAreNoNumbers() {
        QFETCH(QString, sqlPort);
        QFETCH(QString, openPort);
        QFETCH(bool, connectedAfter);
        auto c = m_db->connect();
        try {
            db::connectDatabase(*c, sqlPort, openPort, QString(), QString(),
                                QStringLiteral("Váha PLX"));
            QFAIL("no conversion error");
        } catch (const Error& e) {
            QVERIFY2(e.message().endsWith(QStringLiteral("is not a valid integer value")),
                     qPrintable(e.message()));
        }
        QCOMPARE(c->isConnected(), connectedAfter);
        QCOMPARE(logRows(), 0);
    }

    void serverNotReachableIsSilent() {
        Run run = connect(QStringLiteral("1"), QString(), QString());
        QVERIFY(!run.result);
        QVERIFY(!run.connection->isConnected());
        QCOMPARE(logRows(), 0);
    }
};

QTEST_GUILESS_MAIN(TestConnect)
#include "tst_connect.moc"
