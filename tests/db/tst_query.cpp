#include "db/connection.h"
#include "db/query.h"
#include "db/querymodel.h"
#include "support/testdatabase.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

using namespace vaha;
using namespace vaha::db;
using vaha::test::TestDatabase;

class TestQuery : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Connection> m_conn;

    QStringList column(Query& q, const QString& field) {
        QStringList values;
        for (q.first(); !q.eof(); q.next())
            values << q.asString(field);
        return values;
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "insert into adresar (ico, nazevpodni, sidlo, psc) values "
            "('25', 'Zemědělská a.s.', 'Kyjov', '69701'), ('3', 'čokoláda s.r.o.', 'Brno', NULL),"
            "('100', 'Cukr s.r.o.', 'Hodonín', '69501'), ('7', 'Chmel Žatec', 'Žatec', '43801'),"
            "('40', 'alfa', 'Brno', '60200'), ('8', 'Hrách', 'Brno', '60200')"));
        m_conn = m_db->connect();
    }

    void textsTravelInCp1250BothWays() {
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select nazevpodni, @@character_set_client as cs, "));
        q.addLine(QStringLiteral("'Příliš žluťoučký kůň' as t, 7 as `číslo` from adresar"));
        q.addLine(QStringLiteral("where ico = '25'"));
        q.open();
        // Column names travel in the session's character set too.
        QCOMPARE(q.field(3).name, QStringLiteral("číslo"));
        QCOMPARE(q.asString(u"ČÍSLO"), QStringLiteral("7"));
        QCOMPARE(q.asString(u"NAZEVPODNI"), QStringLiteral("Zemědělská a.s."));
        QCOMPARE(q.asString(u"cs"), QStringLiteral("cp1250"));
        QCOMPARE(q.asString(u"T"), QStringLiteral("Příliš žluťoučký kůň"));
        // The same row read through a UTF-8 session shows the same letters: stored correctly.
        m_db->exec(QStringLiteral("set names utf8mb4"));
        QCOMPARE(m_db->scalar(QStringLiteral("select hex(nazevpodni) from adresar where ico='25'")),
                 QStringLiteral("5A656DEC64EC6C736BE120612E732E"));
        m_db->exec(QStringLiteral("set names cp1250"));
    }

    void quotingStoresAnyTextExactly() {
        const QString nasty =
            QStringLiteral("O'Brien \"uvozovky\" back\\slash \\' ; -- konec\n\r\tž");
        m_conn->execute(QStringLiteral("insert into adresar (ico, nazevpodni) values ('q1', %1)")
                            .arg(m_conn->quote(nasty)));
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select nazevpodni from adresar where ico='q1'"));
        q.open();
        QCOMPARE(q.asString(0), nasty);
        m_conn->execute(QStringLiteral("delete from adresar where ico='q1'"));
        // A character the session cannot carry is refused before anything is sent.
        const quint64 before = m_conn->statementCount();
        QVERIFY_THROWS_EXCEPTION(
            Error, m_conn->execute(QStringLiteral("select '%1'").arg(QStringLiteral("😀"))));
        QCOMPARE(m_conn->statementCount(), before);
    }

    void identifiersKeepBackticksInTheirNames() {
        const QString name = QStringLiteral("divný`název");
        const QString quoted = Connection::quoteIdentifier(name);
        QCOMPARE(quoted, QStringLiteral("`divný``název`"));
        m_conn->execute(QStringLiteral("create table %1 (%1 int)").arg(quoted));
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select table_name, column_name from information_schema.columns "
                                 "where table_schema = database() and table_name = %1")
                      .arg(m_conn->quote(name)));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.asString(0), name);
        QCOMPARE(q.asString(1), name);
        m_conn->execute(QStringLiteral("drop table %1").arg(quoted));
    }

    void fieldsByNameAndClosedQuery() {
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select * from adresar order by ico"));
        QVERIFY_THROWS_EXCEPTION(Error, q.asString(u"ico")); // closed: no fields
        try {
            q.requireField(u"id");
            QFAIL("no error");
        } catch (const Error& e) {
            QCOMPARE(e.message(), QStringLiteral("Field 'id' not found"));
        }
        q.open();
        QCOMPARE(q.fieldIndex(u"IcO"), q.fieldIndex(u"ico"));
        QVERIFY(q.fieldIndex(u"nothing") < 0);
        QCOMPARE(q.field(q.fieldIndex(u"id")).type, FieldType::Integer);
        QCOMPARE(column(q, QStringLiteral("ico")), (QStringList{"100", "25", "3", "40", "7", "8"}));
        QVERIFY(q.eof());
    }

    void emptyResultReadsAsNothing() {
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select * from vazlab where 1=0"));
        q.open();
        QVERIFY(q.isOpen() && q.isEmpty() && q.eof());
        QCOMPARE(q.position(), -1);
        QCOMPARE(q.asInt(u"id"), 0);
        QCOMPARE(q.asString(u"id"), QString());
        QCOMPARE(q.bookmark(), QString());
    }

    void bookmarksLocateAndSort() {
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select * from adresar order by ico"));
        q.open();
        QVERIFY(q.locate(u"nazevpodni", QStringLiteral("CUKR S.R.O.")));
        const QString mark = q.bookmark();
        QVERIFY(!q.locate(u"nazevpodni", QStringLiteral("Cukr"))); // whole value only
        QCOMPARE(q.asString(u"ico"), QStringLiteral("100"));       // and no move
        QVERIFY(!q.locate(u"nazevpodni", QStringLiteral("cukr s.r.o."), true));

        QSignalSpy reordered(&q, &Query::reordered);
        q.sortBy(u"nazevpodni");
        QCOMPARE(reordered.count(), 1);
        QCOMPARE(q.asString(u"ico"), QStringLiteral("100")); // the current row stays current
        // Czech order: c < č < h < ch, letter case ignored.
        QCOMPARE(column(q, QStringLiteral("nazevpodni")),
                 (QStringList{"alfa", "Cukr s.r.o.", "čokoláda s.r.o.", "Hrách", "Chmel Žatec",
                              "Zemědělská a.s."}));
        q.sortBy(u"NAZEVPODNI"); // same field again changes nothing
        QCOMPARE(reordered.count(), 1);
        QVERIFY(q.gotoBookmark(mark));
        QCOMPARE(q.asString(u"ico"), QStringLiteral("100"));
        QVERIFY(!q.gotoBookmark(QStringLiteral("999")));

        q.sortBy(u"psc"); // NULL first, then stable by the earlier order for equal codes
        QCOMPARE(column(q, QStringLiteral("ico")), (QStringList{"3", "7", "40", "8", "100", "25"}));
        q.sortBy(u"id");
        QCOMPARE(column(q, QStringLiteral("ico")), (QStringList{"25", "3", "100", "7", "40", "8"}));
    }

    void disabledControlsHoldViewsStill() {
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select * from adresar"));
        q.open();
        QSignalSpy moved(&q, &Query::currentChanged);
        q.disableControls();
        for (q.first(); !q.eof(); q.next()) {
        }
        QCOMPARE(moved.count(), 0);
        q.first();
        q.enableControls();
        QCOMPARE(moved.count(), 1);
    }

    void modelShowsCaptionsAndRegionalValues() {
        m_db->exec(QStringLiteral("insert into vazlab (cislodokla, datum, brutto, tara, netto) "
                                  "values (5, '2024-05-17', 30.5, 10.2, 20.3)"));
        Query q(m_conn.get());
        q.addLine(QStringLiteral("select * from vazlab"));
        QueryModel model(&q);
        model.setColumns({{QStringLiteral("CISLODOKLA"), QStringLiteral("Číslo dokl."), {}, {}, -1},
                          {QStringLiteral("NETTO"), {}, {}, Qt::AlignRight, -1},
                          {QStringLiteral("DATUM"), QStringLiteral("Datum"), Qt::AlignRight,
                           Qt::AlignHCenter, -1}});
        QCOMPARE(model.rowCount(), 0);
        q.open();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Číslo dokl."));
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("netto"));
        QCOMPARE(model.data(model.index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("20,3"));
        QCOMPARE(model.data(model.index(0, 2), Qt::DisplayRole).toString(),
                 QStringLiteral("17.05.2024"));
        QVERIFY(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight);
        q.close();
        QCOMPARE(model.rowCount(), 0);
        m_db->exec(QStringLiteral("delete from vazlab"));
    }

    void lostConnectionReconnectsOnNextStatement() {
        auto c = m_db->connect();
        c->execute(QStringLiteral("select 1"));
        const QString id = m_db->scalar(QStringLiteral("select 1")); // keep admin alive
        Q_UNUSED(id);
        Query who(c.get());
        who.addLine(QStringLiteral("select connection_id()"));
        who.open();
        const QString victim = who.asString(0);
        m_db->exec(QStringLiteral("kill %1").arg(victim));
        try {
            c->execute(QStringLiteral("select 1"));
            QFAIL("statement on a killed connection did not fail");
        } catch (const DbError& e) {
            QVERIFY2(e.isConnectionLost(), qPrintable(e.message()));
            QVERIFY(e.message().startsWith(QStringLiteral("SQL Error: ")));
        }
        QVERIFY(!c->isConnected());
        c->execute(QStringLiteral("select 1")); // connects again
        QVERIFY(c->isConnected());
    }

    void connectFailureIsReportedWithServerText() {
        Connection c;
        c.setHost(QStringLiteral("127.0.0.1"));
        c.setPort(1); // nothing listens there
        c.setConnectTimeout(2);
        QVERIFY_THROWS_EXCEPTION(DbError, c.connect());
        QVERIFY(!c.isConnected());
        // "localhost" still goes over TCP to the given port.
        Connection local;
        local.setHost(QStringLiteral("localhost"));
        local.setPort(TestDatabase::port());
        local.connect();
        Query q(&local);
        q.addLine(QStringLiteral("select @@port, @@autocommit"));
        q.open();
        QCOMPARE(q.asInt(0), TestDatabase::port());
        QCOMPARE(q.asInt(1), 1);
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
