// "Uložit": numbering, the script file, the script's transaction and its failures, and saves
// from several workstations at the same moment.
#include "breakingproxy.h"
#include "db/query.h"
#include "support/testutil.h"
#include "ticketfixture.h"
#include "tickets/ticketeditor.h"
#include "tickets/ticketsave.h"
#include "util/error.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <thread>

using namespace vaha;
using namespace vaha::tickets;
using vaha::test::TicketFixture;

class TestTicketSave : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_dir;

    QString scriptPath() const { return m_dir + QStringLiteral("/aa.txt"); }

    static std::unique_ptr<TicketEditor> open(TicketFixture& f, int id) {
        auto e = std::make_unique<TicketEditor>(f.context());
        e->Tag = id;
        e->open();
        return e;
    }
    void save(TicketEditor& e) {
        TicketSave s(e);
        s.setScriptFile(scriptPath());
        s.run();
    }
    static int inTransaction(TicketFixture& f) {
        db::Query q(&f.context().connection);
        q.addLine(QStringLiteral("select @@in_transaction"));
        q.open();
        return int(q.asInt(0));
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        m_dir = test::makeTempDir(m_tmp);
    }

    void scriptFileAndRow_data() {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QByteArray>("script");
        QTest::newRow("new ticket") << false
                                    << QByteArray("BEGIN;\r\n"
                                                  "insert into vazlab select * from tmp3vaha;\r\n"
                                                  "commit;\r\n");
        QTest::newRow("ticket 57") << true
                                   << QByteArray("BEGIN;\r\n"
                                                 "delete from vazlab where id = 57;\r\n"
                                                 "insert into vazlab select * from tmp3vaha;\r\n"
                                                 "commit;\r\n");
    }
    void scriptFileAndRow() {
        QFETCH(bool, edited);
        QFETCH(QByteArray, script);
        TicketFixture f;
        f.insertTicket("2031-01-02", 4, "id", "57");
        auto e = open(f, edited ? 57 : 0);
        e->ZTable1.setString(u"datum", "2031-02-03");
        const QString typed = QStringLiteral("O'Hara \"Ž\" C:\\cesta\\");
        e->ZTable1.setString(u"poznamka", typed);
        save(*e);
        QCOMPARE(test::readFile(scriptPath()), script);
        QCOMPARE(f.context().scriptRunner.script(), QStringList()); // cleared after the run
        QVERIFY(!e->ZTable1.isOpen());
        QCOMPARE(f.db().scalarInt("select count(*) from vazlab"), edited ? 1 : 2);
        const int id = edited ? 57 : int(f.db().scalarInt("select max(id) from vazlab"));
        QVERIFY(id != 0);
        QCOMPARE(f.ticket(id, "cislodokla"), edited ? QStringLiteral("4") : QStringLiteral("5"));
        QCOMPARE(f.ticket(id, "poznamka"), typed);
        QCOMPARE(inTransaction(f), 0);
    }

    void numbering_data() {
        QTest::addColumn<QStringList>("existing"); // datum:cislodokla
        QTest::addColumn<QString>("datum");
        QTest::addColumn<int>("number");
        QTest::newRow("first of a year gets 1")
            << QStringList{"2024-05-01:41", "2024-12-30:42"} << "2025-01-05" << 1;
        QTest::newRow("next of its year")
            << QStringList{"2025-01-01:1", "2025-03-01:2", "2026-02-01:7"} << "2025-06-01" << 3;
        QTest::newRow("31 December counts in its own year")
            << QStringList{"2025-11-30:7", "2026-01-02:5"} << "2025-12-31" << 8;
        QTest::newRow("last year of the calendar")
            << QStringList{"9998-12-31:8", "9999-01-01:3"} << "9999-12-31" << 4;
        QTest::newRow("a date with a zero month counts in its year")
            << QStringList{"2025-00-00:9", "2026-00-00:20"} << "2025-06-01" << 10;
        QTest::newRow("cleared date is a ticket of 1899")
            << QStringList{"2025-01-01:3", ":4"} << "" << 1;
    }
    void numbering() {
        QFETCH(QStringList, existing);
        QFETCH(QString, datum);
        QFETCH(int, number);
        TicketFixture f;
        for (const QString& t : existing)
            f.insertTicket(t.section(u':', 0, 0), t.section(u':', 1).toInt());
        auto e = open(f, 0);
        e->ZTable1.setString(u"datum", datum);
        f.statements.clear();
        save(*e);
        // The Working row's first number comes from the year of its date.
        QCOMPARE(f.statements.value(0),
                 QStringLiteral("select max(cislodokla) as cido from vazlab\n where year(datum) = "
                                "%1\n FOR UPDATE;")
                     .arg(datum.isEmpty() ? 1899 : datum.left(4).toInt()));
        QCOMPARE(f.db().scalarInt("select cislodokla from vazlab order by id desc limit 1"),
                 number);
    }

    void editKeepsIdNumberAndUnknownColumns() {
        TicketFixture f;
        f.db().exec("alter table vazlab add column cizi varchar(20) default 'výchozí'");
        const int id = f.insertTicket("2025-12-30", 9, "cizi", "'zachovat'");
        auto e = open(f, id);
        e->ZTable1.setDisplayText(u"datum", "2.1.2026"); // moved into the next year
        e->ZTable1.setString(u"spz", "9Z9 9999");
        save(*e);
        QCOMPARE(f.db().scalar(QStringLiteral("select concat(id,'|',cislodokla,'|',datum,'|',spz,"
                                              "'|',cizi) from vazlab")),
                 QStringLiteral("%1|9|2026-01-02|9Z9 9999|zachovat").arg(id));
    }

    void failingInsertLeavesVazlabAsItWas() {
        TicketFixture f;
        f.insertTicket("2025-04-04", 12, "id", "57");
        auto e = open(f, 57);
        // The working table no longer matches vazlab: the insert fails after the delete.
        f.db().exec("alter table tmp3vaha drop column poznamka");
        e->ZTable1.setString(u"spz", "NOVÁ");
        QVERIFY_THROWS_EXCEPTION(db::DbError, save(*e));
        QCOMPARE(f.ticket(57, "concat(cislodokla,'|',spz)"), QStringLiteral("12|1AB 2345"));
        QCOMPARE(inTransaction(f), 0);
        QVERIFY(!e->ZTable1.isOpen());
        QCOMPARE(e->stampSuppression, 1);
        QCOMPARE(f.working("spz"), QStringLiteral("NOVÁ")); // posted before the script
        QCOMPARE(test::readFile(scriptPath()).count("\r\n"), 4);
        QCOMPARE(f.context().scriptRunner.script().size(), 4); // kept until the next save
        // A further save fails: the row is closed.
        QVERIFY_THROWS_EXCEPTION(Error, save(*e));
        QCOMPARE(f.ticket(57, "spz"), QStringLiteral("1AB 2345"));
    }

    void failuresBeforeTheScript() {
        TicketFixture f;
        f.insertTicket(QDate::currentDate().toString(Qt::ISODate), 12); // the new ticket's year
        auto e = open(f, 0);
        // The numbering statement fails: the row stays in edit mode, the script holds BEGIN.
        f.db().exec("rename table vazlab to vazlab_pryc");
        QVERIFY_THROWS_EXCEPTION(db::DbError, save(*e));
        f.db().exec("rename table vazlab_pryc to vazlab");
        QVERIFY(e->ZTable1.isEditing());
        QCOMPARE(f.context().scriptRunner.script(), QStringList{"BEGIN;"});
        QCOMPARE(e->stampSuppression, 1);

        // aa.txt cannot be created: nothing reaches vazlab, the row is closed already.
        TicketSave s(*e);
        s.setScriptFile(m_dir + QStringLiteral("/chybí/aa.txt"));
        try {
            s.run();
            QFAIL("the save did not fail");
        } catch (const Error& err) {
            QVERIFY2(err.message().startsWith(QStringLiteral("Cannot create file")),
                     qPrintable(err.message()));
        }
        QVERIFY(!e->ZTable1.isOpen());
        QCOMPARE(f.db().scalarInt("select count(*) from vazlab"), 1);
        QCOMPARE(f.working("cislodokla"), QStringLiteral("13"));
    }

    // The connection breaks at each step of a save, as a server crash or a broken network
    // would break it. Only the commit's lost answer leaves the outcome open; the save then
    // asks the server again. Nothing is ever sent twice, and the next save works.
    void lostConnection_data() {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QByteArray>("statement");
        QTest::addColumn<bool>("afterAnswer"); // the server ran it, the answer never came
        QTest::addColumn<bool>("serverAway");  // no connection possible afterwards
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("saved"); // rows in vazlab with the typed note
        using O = TicketSave::Outcome;
        QTest::newRow("numbering")
            << false << QByteArray("select max") << false << false << int(O::NotSaved) << 0;
        QTest::newRow("BEGIN") << false << QByteArray("begin") << false << false << int(O::NotSaved)
                               << 0;
        QTest::newRow("insert ran, not committed")
            << false << QByteArray("insert into vazlab") << true << false << int(O::NotSaved) << 0;
        QTest::newRow("commit never arrived")
            << false << QByteArray("commit") << false << false << int(O::NotSaved) << 0;
        QTest::newRow("commit's answer lost")
            << false << QByteArray("commit") << true << false << int(O::Confirmed) << 1;
        QTest::newRow("commit's answer lost, server away")
            << false << QByteArray("commit") << true << true << int(O::Unknown) << 1;
        QTest::newRow("edit: delete")
            << true << QByteArray("delete from vazlab") << false << false << int(O::NotSaved) << 0;
        QTest::newRow("edit: commit never arrived")
            << true << QByteArray("commit") << false << false << int(O::NotSaved) << 0;
        QTest::newRow("edit: commit's answer lost")
            << true << QByteArray("commit") << true << false << int(O::Confirmed) << 1;
    }
    void lostConnection() {
        QFETCH(bool, edited);
        QFETCH(QByteArray, statement);
        QFETCH(bool, afterAnswer);
        QFETCH(bool, serverAway);
        QFETCH(int, outcome);
        QFETCH(int, saved);
        TicketFixture f;
        f.insertTicket("2030-01-02", 4, "id, poznamka", "57, 'původní'");
        test::BreakingProxy proxy(test::TestDatabase::port());
        db::Connection& c = f.context().connection;
        c.disconnect();
        c.setPort(proxy.port());
        c.execute(QStringLiteral("set @@session.sql_mode=\"\""));
        auto e = open(f, edited ? 57 : 0);
        if (!edited)
            e->ZTable1.setString(u"datum", "2031-03-04");
        e->ZTable1.setString(u"poznamka", "uložit");
        e->ZTable1.setString(u"spz", "2B3 4567");
        proxy.breakAt(statement,
                      afterAnswer ? test::BreakingProxy::Break::AfterAnswer
                                  : test::BreakingProxy::Break::BeforeStatement,
                      serverAway);
        f.statements.clear();
        TicketSave s(*e);
        s.setScriptFile(scriptPath());
        s.setCheckMilliseconds(600);
        QString message;
        try {
            s.run();
        } catch (const db::DbError& err) {
            QVERIFY(err.isConnectionLost());
            message = err.message();
        }
        QVERIFY(proxy.broke());
        QCOMPARE(int(s.outcome()), outcome);
        const bool ok = s.outcome() == TicketSave::Outcome::Confirmed;
        QCOMPARE(message.isEmpty(), ok);
        if (s.outcome() == TicketSave::Outcome::NotSaved)
            QVERIFY2(message.startsWith(QStringLiteral("Spojení s databází se při ukládání "
                                                       "dokladu přerušilo. Doklad nebyl "
                                                       "uložen.")),
                     qPrintable(message));
        if (s.outcome() == TicketSave::Outcome::Unknown)
            QVERIFY2(
                message.contains(QStringLiteral("nepodařilo se ověřit")) &&
                    message.contains(QStringLiteral("doklad číslo 1 roku 2031 (SPZ 2B3 4567)")),
                qPrintable(message));
        QVERIFY(f.statements.count(QStringLiteral("BEGIN")) <= 1);
        QVERIFY(f.statements.count(QStringLiteral("commit")) <= 1);
        QCOMPARE(f.db().scalarInt("select count(*) from vazlab where poznamka = 'uložit'"), saved);
        QCOMPARE(f.db().scalarInt("select count(*) from vazlab"), edited ? 1 : 1 + saved);
        if (saved == 1)
            QCOMPARE(s.ticketId(),
                     f.db().scalarInt("select id from vazlab where poznamka = 'uložit'"));

        // The server is back: the next save works in a new session.
        c.disconnect();
        c.setPort(test::TestDatabase::port());
        auto next = open(f, 0);
        next->ZTable1.setString(u"datum", "2031-03-05");
        TicketSave again(*next);
        again.setScriptFile(scriptPath());
        again.run();
        QCOMPARE(int(again.outcome()), int(TicketSave::Outcome::Saved));
        QCOMPARE(again.number(), edited ? 1 : 1 + saved);
    }

    // Another workstation holds the year's rows longer than the server lets a statement wait:
    // the transaction runs again instead of failing the save.
    void aLockedYearIsWaitedOut() {
        TicketFixture f;
        f.insertTicket("2031-05-06", 7);
        auto other = f.db().connect();
        other->execute(QStringLiteral("BEGIN"));
        other->execute(QStringLiteral("select * from vazlab FOR UPDATE"));
        std::thread release([&] {
            QThread::msleep(1500);
            other->execute(QStringLiteral("ROLLBACK"));
        });
        f.context().connection.execute(QStringLiteral("set innodb_lock_wait_timeout = 1"));
        auto e = open(f, 0);
        e->ZTable1.setString(u"datum", "2031-07-08");
        f.statements.clear();
        try {
            save(*e);
        } catch (...) {
            release.join();
            throw;
        }
        release.join();
        // The numbering read or the transaction ran again instead of failing the save.
        const QString numbering =
            QStringLiteral("select max(cislodokla) as cido from vazlab\n where "
                           "year(datum) = 2031\n FOR UPDATE;");
        QVERIFY(f.statements.count(numbering) + f.statements.count(QStringLiteral("BEGIN")) >= 3);
        QCOMPARE(f.db().scalarInt("select max(cislodokla) from vazlab"), 8);
    }

    void concurrentSavesGetDistinctConsecutiveNumbers() {
        const int workstations = 4;
        const int saves = 25;
        TicketFixture f;
        f.seedLookups();                   // the tool types a partner and a commodity
        f.insertTicket("2029-12-31", 500); // another year does not count
        const QString tool = test::toolPath(QStringLiteral("vaha-stress-save"));
        const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 1500;
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int w = 1; w <= workstations; ++w) {
            auto p = std::make_unique<QProcess>();
            p->start(tool, {"--host", test::TestDatabase::host(), "--port",
                            QString::number(test::TestDatabase::port()), "--database",
                            f.db().name(), "--workstation", QString::number(w), "--saves",
                            QString::number(saves), "--date", "2030-06-15", "--start-at",
                            QString::number(startAt), "--dir", m_dir});
            processes.push_back(std::move(p));
        }
        int attempts = 0;
        double slowest = 0;
        for (auto& p : processes) {
            QVERIFY(p->waitForFinished(240000));
            const QString out = QString::fromUtf8(p->readAllStandardOutput());
            QVERIFY2(p->exitCode() == 0, qPrintable(p->readAllStandardError()));
            for (const QString& field : out.trimmed().split(u' ')) {
                if (field.startsWith(QStringLiteral("attempts=")))
                    attempts += field.mid(9).toInt();
                if (field.startsWith(QStringLiteral("seconds=")))
                    slowest = std::max(slowest, field.mid(8).toDouble());
            }
        }
        const QString where = QStringLiteral(" from vazlab where year(datum) = 2030");
        const qint64 total = f.db().scalarInt("select count(*)" + where);
        const qint64 distinct = f.db().scalarInt("select count(distinct cislodokla)" + where);
        qInfo("%d workstations x %d saves: %lld tickets, %lld duplicate numbers, %d transaction "
              "runs, %.1f saves/s",
              workstations, saves, total, total - distinct, attempts,
              slowest > 0 ? double(total) / slowest : 0.0);
        QCOMPARE(total, qint64(workstations * saves));
        QCOMPARE(distinct, total);
        QCOMPARE(f.db().scalar("select concat(min(cislodokla),'-',max(cislodokla))" + where),
                 QStringLiteral("1-%1").arg(workstations * saves));
    }
};

QTEST_GUILESS_MAIN(TestTicketSave)
#include "tst_ticket_save.moc"
