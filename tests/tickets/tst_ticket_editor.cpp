// The entry form's logic without a screen: opening, look-ups, stamps, the net weight rule.
#include "db/query.h"
#include "ticketfixture.h"
#include "tickets/ticketcolumns.h"
#include "tickets/ticketeditor.h"

#include <QLocale>
#include <QTest>

using namespace vaha;
using namespace vaha::tickets;
using vaha::test::TicketFixture;

class TestTicketEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<TicketFixture> m_f;
    std::unique_ptr<TicketEditor> m_editor;

    TicketEditor& openNew() {
        m_editor = std::make_unique<TicketEditor>(m_f->context());
        m_editor->Tag = 0;
        m_editor->open();
        return *m_editor;
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        m_f = std::make_unique<TicketFixture>();
        m_f->seedLookups();
    }

    void newTicketOnWorkstation3() {
        m_f->statements.clear();
        TicketEditor& e = openNew();
        QCOMPARE(m_f->statements.mid(0, 3),
                 (QStringList{"DROP TABLE IF EXISTS tmp3vaha",
                              "CREATE TABLE tmp3vaha COLLATE cp1250_general_ci ENGINE=MyISAM\n"
                              " select * from vazlab LIMIT 0,0",
                              "INSERT into tmp3vaha \n(id,cislodokla,datum,typdokladu)\n values "
                              "(0,0,NOW(),\"01  příjem\")"}));
        QCOMPARE(m_f->db().scalarInt("select count(*) from tmp3vaha"), 1);
        QCOMPARE(m_f->working("concat(id,'|',cislodokla,'|',typdokladu)"),
                 QStringLiteral("0|0|01  příjem"));
        QCOMPARE(m_f->working("datum"), m_f->db().scalar("select curdate()"));
        QVERIFY(e.ZTable1.isEditing());
        QCOMPARE(e.stampSuppression, 0);
        QVERIFY(e.ZQueryKomo.isOpen());
        // One row per code, the row without a code left out, ordered by name.
        QCOMPARE(e.ZQueryKomo.recordCount(), 2);
        QCOMPARE(e.ZQueryKomo.asString(u"komodita"), QStringLiteral("PS"));
        // Opening stamps nothing.
        QVERIFY(e.ZTable1.isNull(u"datbrutto"));
        QVERIFY(e.ZTable1.isNull(u"dattara"));
    }

    void editedTicketIsCopied() {
        const int id = m_f->insertTicket("2025-03-04", 17);
        m_f->statements.clear();
        m_editor = std::make_unique<TicketEditor>(m_f->context());
        m_editor->Tag = id;
        m_editor->open();
        QCOMPARE(m_f->statements.value(1),
                 QStringLiteral("CREATE TABLE tmp3vaha COLLATE cp1250_general_ci ENGINE=MyISAM\n"
                                " select * from vazlab where id = %1")
                     .arg(id));
        QCOMPARE(m_editor->ZTable1.asInt(u"id"), id);
        QCOMPARE(m_editor->ZTable1.asInt(u"cislodokla"), 17);
        QCOMPARE(m_editor->ZTable1.displayText(u"datum"), QStringLiteral("04.03.2025"));

        // A ticket that disappeared meanwhile: an empty working table, a blank row.
        m_editor->Tag = 999999;
        m_editor->open();
        QVERIFY(m_editor->ZTable1.isEditing());
        QCOMPARE(m_editor->ZTable1.asString(u"spz"), QString());
    }

    void invalidWorkstationSendsNothing_data() {
        QTest::addColumn<QString>("workstation");
        QTest::newRow("statement inside") << "3vaha; DROP TABLE vazlab; --";
        QTest::newRow("blank") << "3 4";
        QTest::newRow("dash") << "3-4";
    }
    void invalidWorkstationSendsNothing() {
        QFETCH(QString, workstation);
        TicketFixture f;
        f.context().workstation = workstation;
        TicketEditor e(f.context());
        f.statements.clear();
        QVERIFY_THROWS_EXCEPTION(Error, e.open());
        QCOMPARE(f.statements, QStringList());
    }

    void partnerByIco_data() {
        QTest::addColumn<QString>("ico");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("partner"); // kodpar|dic|nazevpodni|ulice after the look-up
        const QString before = "OLD|OLDDIC|Dřívější|Stará 1";
        QTest::newRow("found overwrites all") << "12345678" << int(TicketEditor::Lookup::Found)
                                              << "P001|CZ12345678|Zemědělská a.s.|Hlavní 1";
        QTest::newRow("unknown changes nothing")
            << "11111111" << int(TicketEditor::Lookup::NotFound) << before;
        QTest::newRow("letter case counts")
            << "ab12" << int(TicketEditor::Lookup::NotFound) << before;
        QTest::newRow("empty: no look-up") << "" << int(TicketEditor::Lookup::Skipped) << before;
    }
    void partnerByIco() {
        QFETCH(QString, ico);
        QFETCH(int, outcome);
        QFETCH(QString, partner);
        TicketEditor& e = openNew();
        for (const auto& [c, v] :
             {std::pair{u"kodpar", "OLD"}, std::pair{u"dic", "OLDDIC"},
              std::pair{u"nazevpodni", "Dřívější"}, std::pair{u"ulice", "Stará 1"}})
            e.ZTable1.setString(QStringView(c), QString::fromUtf8(v));
        e.ZTable1.setString(u"ico", ico);
        // The partner list is still closed, as before the address book was ever shown.
        db::Query partners;
        partners.setSql({"select * from adresar order by ico"});
        QCOMPARE(int(e.partnerByIco(partners)), outcome);
        const QStringList got{e.ZTable1.asString(u"kodpar"), e.ZTable1.asString(u"dic"),
                              e.ZTable1.asString(u"nazevpodni"), e.ZTable1.asString(u"ulice")};
        QCOMPARE(got.join(u'|'), partner);
        if (outcome == int(TicketEditor::Lookup::Found)) {
            QCOMPARE(e.ZTable1.asString(u"sidlo") + u'|' + e.ZTable1.asString(u"psc") + u'|' +
                         e.ZTable1.asString(u"posta"),
                     QStringLiteral("Hrušovany|66462|Hrušovany u Brna"));
            QCOMPARE(partners.asString(u"ico"), ico); // the found row is current
        }
    }

    void commodityByCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("commodity"); // komodita|nomenkla|nazevosiva
        QTest::newRow("found") << "PS" << int(TicketEditor::Lookup::Found)
                               << "PS|1001|Pšenice potravinářská";
        QTest::newRow("letter case counts")
            << "ps" << int(TicketEditor::Lookup::NotFound) << "ps||";
        QTest::newRow("unknown") << "XX" << int(TicketEditor::Lookup::NotFound) << "XX||";
        QTest::newRow("empty") << "" << int(TicketEditor::Lookup::Skipped) << "||";
    }
    void commodityByCode() {
        QFETCH(QString, code);
        QFETCH(int, outcome);
        QFETCH(QString, commodity);
        TicketEditor& e = openNew();
        e.ZTable1.setString(u"komodita", code);
        QCOMPARE(int(e.commodityByCode()), outcome);
        QCOMPARE(e.ZTable1.asString(u"komodita") + u'|' + e.ZTable1.asString(u"nomenkla") + u'|' +
                     e.ZTable1.asString(u"nazevosiva"),
                 commodity);
    }

    // Steps: "b:<text>" types the gross and leaves it, "t:<text>" the same for the tare.
    void netWeightRule_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("netto");
        QTest::addColumn<bool>("grossStamped");
        QTest::addColumn<bool>("tareStamped");
        QTest::newRow("gross alone keeps netto") << QStringList{"b:30,5"} << "0" << true << false;
        QTest::newRow("gross then tare")
            << QStringList{"b:30,5", "t:10,2"} << "20,3" << true << true;
        QTest::newRow("tare first, departure") << QStringList{"t:12"} << "-12" << false << true;
        QTest::newRow("empty gross becomes 0 and is stamped")
            << QStringList{"b:"} << "0" << true << false;
        QTest::newRow("tare back to 0 keeps the last netto")
            << QStringList{"b:30", "t:10", "t:0"} << "20" << true << true;
    }
    void netWeightRule() {
        QFETCH(QStringList, steps);
        QFETCH(QString, netto);
        QFETCH(bool, grossStamped);
        QFETCH(bool, tareStamped);
        TicketEditor& e = openNew();
        e.stampSuppression = 1; // setting up is not a weighing
        e.ZTable1.setNull(u"brutto");
        e.ZTable1.setNull(u"tara");
        e.stampSuppression = 0;
        for (const QString& step : steps) {
            const Weight w = step.startsWith(u'b') ? Weight::Gross : Weight::Tare;
            e.weightTyped(w);
            e.ZTable1.setDisplayText(weightColumn(w), step.mid(2));
            e.netWeightRule(w);
        }
        QCOMPARE(e.ZTable1.displayText(u"netto"), netto);
        QCOMPARE(!e.ZTable1.isNull(u"datbrutto"), grossStamped);
        QCOMPARE(!e.ZTable1.isNull(u"dattara"), tareStamped);
        if (grossStamped) {
            const double age = nowValue() - e.ZTable1.asDateTime(u"datbrutto");
            QVERIFY2(age >= 0 && age < 2.0 / 86400 + 1e-9, "stamp is the current moment");
        }
    }

    void suppressedStampsAndCertificate() {
        TicketEditor& e = openNew();
        e.stampSuppression = 1;
        e.ZTable1.setFloat(u"brutto", 5);
        e.weightTyped(Weight::Gross);
        QVERIFY(e.ZTable1.isNull(u"datbrutto"));
        e.stampSuppression = 0;

        e.setCertificate(true);
        QCOMPARE(e.ZTable1.asString(u"certifikat"), siteCertificate());
        e.setCertificate(false);
        e.ZTable1.post();
        // Emptied, not absent.
        QCOMPARE(m_f->working("concat('[', certifikat, ']')"), QStringLiteral("[]"));
    }

    void backForgetsAndCloseCloses() {
        const int id = m_f->insertTicket("2025-05-06", 3);
        m_editor = std::make_unique<TicketEditor>(m_f->context());
        m_editor->Tag = id;
        m_editor->open();
        m_editor->ZTable1.setString(u"spz", QStringLiteral("ZMĚNA"));
        m_editor->back();
        m_editor->close();
        QVERIFY(!m_editor->ZTable1.isOpen());
        QVERIFY(!m_editor->ZQueryKomo.isOpen());
        QCOMPARE(m_editor->stampSuppression, 1);
        QCOMPARE(m_f->working("spz"), QStringLiteral("1AB 2345"));
        QCOMPARE(m_f->ticket(id, "spz"), QStringLiteral("1AB 2345"));
        // Nothing to look up or compute in a closed row.
        QCOMPARE(int(m_editor->commodityByCode()), int(TicketEditor::Lookup::Skipped));
        m_editor->netWeightRule(Weight::Gross);
    }
};

QTEST_GUILESS_MAIN(TestTicketEditor)
#include "tst_ticket_editor.moc"
