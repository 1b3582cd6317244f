#include "db/connection.h"
#include "db/query.h"
#include "db/scriptrunner.h"
#include "db/tableeditor.h"
#include "support/testdatabase.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

using namespace vaha;
using namespace vaha::db;
using vaha::test::TestDatabase;

class TestScriptEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Connection> m_conn;

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        m_db = std::make_unique<TestDatabase>();
        m_conn = m_db->connect();
        m_conn->execute(QStringLiteral("set @@session.sql_mode=\"\""));
    }

    void splitting_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("save script")
            << "BEGIN;\ninsert into vazlab select * from tmp3vaha;\ncommit;"
            << QStringList{"BEGIN", "insert into vazlab select * from tmp3vaha", "commit"};
        QTest::newRow("semicolon in quotes")
            << "insert into t values ('a;b', \"c;d\", `e;f`); x"
            << QStringList{"insert into t values ('a;b', \"c;d\", `e;f`)", "x"};
        QTest::newRow("escaped quote") << "select 'it\\'s; ok'; select ''';'"
                                       << QStringList{"select 'it\\'s; ok'", "select ''';'"};
        QTest::newRow("comments") << "-- a; b\nselect 1; /* c; d */ select 2; # e; f\n"
                                  << QStringList{"-- a; b\nselect 1", "/* c; d */ select 2",
                                                 "# e; f"};
        QTest::newRow("empty pieces dropped") << " ;;\n; select 1 ;  ;" << QStringList{"select 1"};
    }
    void splitting() {
        QFETCH(QString, script);
        QFETCH(QStringList, statements);
        QCOMPARE(ScriptRunner::splitStatements(script), statements);
    }

    void failureAfterBeginRollsBackAndStops() {
        m_db->exec(QStringLiteral("create table s (id int primary key) engine=InnoDB"));
        m_db->exec(QStringLiteral("insert into s values (1)"));
        ScriptRunner runner(m_conn.get());
        runner.addLine(QStringLiteral("BEGIN;"));
        runner.addLine(QStringLiteral("delete from s where id = 1;"));
        runner.addLine(QStringLiteral("insert into nosuchtable values (1);"));
        runner.addLine(QStringLiteral("insert into s values (3);"));
        runner.addLine(QStringLiteral("commit;"));
        try {
            runner.execute();
            QFAIL("script did not fail");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("nosuchtable")), qPrintable(e.message()));
        }
        // Nothing of the failed script stays, and no transaction is left open.
        QCOMPARE(m_db->scalar(QStringLiteral("select group_concat(id) from s")),
                 QStringLiteral("1"));
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select @@in_transaction"));
        q.open();
        QCOMPARE(q.asInt(0), 0);
    }

    void afterStatementHookRunsInsideTheTransaction() {
        ScriptRunner runner(m_conn.get());
        runner.addLine(QStringLiteral("BEGIN; insert into s values (10); commit;"));
        QStringList seen;
        runner.execute([&](int index, const QString& statement) {
            seen << QString::number(index) + u':' + statement;
            if (index == 0) {
                Query q(m_conn.get());
                q.addLine(QStringLiteral("select @@in_transaction"));
                q.open();
                QCOMPARE(q.asInt(0), 1);
            }
        });
        QCOMPARE(seen, (QStringList{"0:BEGIN", "1:insert into s values (10)", "2:commit"}));
        QCOMPARE(m_db->scalar(QStringLiteral("select group_concat(id order by id) from s")),
                 QStringLiteral("1,10"));
    }

    void editorWritesOnlyChangedColumnsExactly() {
        m_db->exec(QStringLiteral("create table tmp9vaha COLLATE cp1250_general_ci ENGINE=MyISAM "
                                  "select * from vazlab LIMIT 0,0"));
        m_db->exec(
            QStringLiteral("alter table tmp9vaha add column cizi varchar(20) default 'nesahat'"));
        m_db->exec(QStringLiteral("insert into tmp9vaha (id, cislodokla, datum, typdokladu, "
                                  "brutto) values (0, 0, NOW(), \"01  příjem\", 1.5)"));
        TableEditor t(m_conn.get());
        t.setTableName(QStringLiteral("tmp9vaha"));
        t.open();
        QVERIFY_THROWS_EXCEPTION(Error,
                                 t.setString(u"spz", QStringLiteral("x"))); // not in edit mode
        t.edit();
        QCOMPARE(t.asString(u"TYPDOKLADU"), QStringLiteral("01  příjem"));
        QCOMPARE(t.asFloat(u"brutto"), 1.5);
        QCOMPARE(t.displayText(u"brutto"), QStringLiteral("1,5"));
        QSignalSpy changed(&t, &TableEditor::fieldChanged);
        const QString typed = QStringLiteral("O'Hara \"x\" C:\\cesta\\ ; ž");
        t.setString(u"poznamka", typed);
        t.setDisplayText(u"tara", QStringLiteral("10,2"));
        t.setFloat(u"netto", 30.5 - 10.2);
        t.setString(u"vlhkost", QString()); // empty number: NULL
        QCOMPARE(changed.count(), 3);       // vlhkost was NULL already
        QVERIFY_THROWS_EXCEPTION(Error, t.setDisplayText(u"tara", QStringLiteral("10.2x")));
        QVERIFY_THROWS_EXCEPTION(Error, t.setString(u"spz", QStringLiteral("中")));
        m_db->exec(QStringLiteral("update tmp9vaha set cizi = 'jiná hodnota'")); // another writer
        t.post();
        QVERIFY(!t.isEditing());
        QCOMPARE(m_db->scalar(QStringLiteral("select poznamka from tmp9vaha")), typed);
        QCOMPARE(m_db->scalar(QStringLiteral("select tara from tmp9vaha")),
                 QStringLiteral("10.2000"));
        QCOMPARE(m_db->scalar(QStringLiteral("select netto from tmp9vaha")),
                 QStringLiteral("20.3000"));
        QCOMPARE(m_db->scalar(QStringLiteral("select cizi from tmp9vaha")),
                 QStringLiteral("jiná hodnota"));
        QCOMPARE(m_db->scalarInt(QStringLiteral("select count(*) from tmp9vaha")), 1);
    }

    // Without strict mode the server would cut the text or clip the number to the column's
    // limit without a word; the editor refuses such a value and keeps the one it had.
    void editorRefusesWhatTheColumnCannotHold_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // empty: refused with `error`
        QTest::addColumn<QString>("error");
        QTest::newRow("text as long as the column")
            << "spz" << QString(15, u'Ž') << QString(15, u'Ž') << "";
        QTest::newRow("text longer than the column") << "spz" << QString(16, u'Ž') << ""
                                                     << "je delší než 15 znaků sloupce SPZ";
        QTest::newRow("largest number of the column") << "brutto"
                                                      << "9999999999,9999"
                                                      << "9999999999.9999"
                                                      << "";
        QTest::newRow("smallest number of the column") << "brutto"
                                                       << "-9999999999,9999"
                                                       << "-9999999999.9999"
                                                       << "";
        QTest::newRow("number that rounds beyond the column")
            << "brutto"
            << "9999999999,99996"
            << ""
            << "mimo rozsah sloupce BRUTTO (nejvýše 9999999999,9999)";
        QTest::newRow("number beyond the column")
            << "vlhkost"
            << "-10000"
            << ""
            << "Hodnota -10000 je mimo rozsah sloupce VLHKOST";
    }
    void editorRefusesWhatTheColumnCannotHold() {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, error);
        m_db->exec(QStringLiteral("drop table if exists tmp8vaha"));
        m_db->exec(
            QStringLiteral("create table tmp8vaha ENGINE=MyISAM select * from vazlab LIMIT 0"));
        m_db->exec(QStringLiteral("insert into tmp8vaha (id, vlhkost) values (0, 12.5)"));
        TableEditor t(m_conn.get());
        t.setTableName(QStringLiteral("tmp8vaha"));
        t.open();
        t.edit();
        const QString before = t.displayText(column);
        try {
            t.setDisplayText(column, typed);
            QVERIFY2(error.isEmpty(), "accepted");
            t.post();
            QCOMPARE(m_db->scalar(QStringLiteral("select %1 from tmp8vaha").arg(column)), stored);
        } catch (const Error& e) {
            QVERIFY2(!error.isEmpty() && e.message().contains(error), qPrintable(e.message()));
            QCOMPARE(t.displayText(column), before);
        }
    }

    void closeForgetsUnpostedAndEmptyTableStartsARow() {
        TableEditor t(m_conn.get());
        t.setTableName(QStringLiteral("tmp9vaha"));
        t.open();
        t.edit();
        t.setString(u"spz", QStringLiteral("1B2 3456"));
        t.close();
        QCOMPARE(m_db->scalar(QStringLiteral("select ifnull(spz,'') from tmp9vaha")), QString());

        m_db->exec(QStringLiteral("delete from tmp9vaha"));
        t.open();
        QVERIFY(!t.hasRow());
        t.edit(); // blank new row
        QVERIFY(t.hasRow());
        t.setString(u"spz", QStringLiteral("5B6 7890"));
        t.setDateTime(u"datbrutto", 45429.5);
        t.post();
        QCOMPARE(
            m_db->scalar(QStringLiteral("select concat(spz,'|',datbrutto,'|',cizi) from tmp9vaha")),
            QStringLiteral("5B6 7890|2024-05-17 12:00:00|nesahat"));
    }
};

QTEST_GUILESS_MAIN(TestScriptEditor)
#include "tst_script_editor.moc"
