// Scale readings: the request, the answer's first line, the wait, and readings that the user
// overtakes by closing the ticket or starting another one.
#include "support/testutil.h"
#include "ticketfixture.h"
#include "tickets/scaleexchange.h"
#include "tickets/ticketeditor.h"
#include "util/cp1250.h"
#include "util/fileutil.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vaha;
using namespace vaha::tickets;
using vaha::test::TicketFixture;
using Reading = TicketEditor::Reading;

class TestScaleExchange : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_exchange; // cestaVaha
    QString m_ini;
    std::unique_ptr<TicketFixture> m_f;
    std::unique_ptr<TicketEditor> m_e;

    QString answer() const { return m_exchange + QStringLiteral("/aktualni.log"); }
    void writeAnswer(const QByteArray& bytes) { test::writeFile(answer(), bytes); }

    // A new ticket with gross/tare/net as given (empty: no value), alibi columns preset.
    TicketEditor& newTicket(const QString& brutto = "0", const QString& tara = "0") {
        m_e = std::make_unique<TicketEditor>(m_f->context());
        m_e->create(m_ini, m_tmp.path() + QStringLiteral("/sklady.txt"));
        m_e->open();
        m_e->stampSuppression = 1;
        m_e->ZTable1.setDisplayText(u"brutto", brutto);
        m_e->ZTable1.setDisplayText(u"tara", tara);
        m_e->ZTable1.setString(u"alibibrutt", QStringLiteral("předchozí"));
        m_e->stampSuppression = 0;
        return *m_e;
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        test::makeTempDir(m_tmp);
        m_exchange = m_tmp.path() + QStringLiteral("/váha");
        QDir().mkpath(m_exchange);
        m_ini = m_tmp.path() + QStringLiteral("/vahaPLX.ini");
        test::writeFile(
            m_ini, cp1250::encode(QStringLiteral("[VAHA]\r\ncestaVaha=%1\r\n").arg(m_exchange)));
        test::writeFile(m_tmp.path() + QStringLiteral("/sklady.txt"), "01;Sklad 1\r\n");
        // An old modification time that a copy must keep.
        QFile ini(m_ini);
        QVERIFY(ini.open(QIODevice::ReadWrite));
        QVERIFY(ini.setFileTime(QDateTime(QDate(2020, 2, 3), QTime(4, 5, 6)),
                                QFileDevice::FileModificationTime));
        m_f = std::make_unique<TicketFixture>();
    }

    void init() {
        QFile::remove(answer());
        QFile::remove(m_exchange + QStringLiteral("/dejvahu.txt"));
    }

    // Answers already there when "Brutto" is pressed: taken at the first look.
    void grossAnswerLines_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("brutto");
        QTest::addColumn<QString>("alibi");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("answerStays");
        const QString before = QStringLiteral("předchozí");
        QTest::newRow("figure alone")
            << QByteArray("a;b;12340\r\n") << "12,34" << before << "" << false;
        QTest::newRow("figure and alibi") << QByteArray("a;b;12340|A17\r\n") << "12,34"
                                          << "12340|A17"
                                          << "" << false;
        QTest::newRow("no separators") << QByteArray("12340\r\n") << "0" << before
                                       << "'' is not a valid floating point value" << false;
        QTest::newRow("decimal comma")
            << QByteArray("a;b;12340,5\r\n") << "12,3405" << before << "" << false;
        QTest::newRow("decimal point") << QByteArray("a;b;12340.5|X\r\n") << "0"
                                       << "12340.5|X"
                                       << "'12340.5' is not a valid floating point value" << false;
        QTest::newRow("only the first line") << QByteArray("1;2;7000|\x8e"
                                                           "1;x\r\n1;2;9000\r\n")
                                             << "7"
                                             << "7000|Ž1"
                                             << "" << false;
        QTest::newRow("empty file")
            << QByteArray() << "0" << before << "List index out of bounds (0)" << true;
    }
    void grossAnswerLines() {
        QFETCH(QByteArray, file);
        QFETCH(QString, brutto);
        QFETCH(QString, alibi);
        QFETCH(QString, error);
        QFETCH(bool, answerStays);
        TicketEditor& e = newTicket();
        writeAnswer(file);
        QString thrown;
        int busy = 0;
        try {
            QCOMPARE(e.readGrossOrTare(Weight::Gross, [&](bool on) { busy += on ? 1 : 10; }),
                     Reading::Taken);
        } catch (const Error& err) {
            thrown = err.message();
        }
        QCOMPARE(busy, 11); // wait cursor on, then off again
        QCOMPARE(thrown, error);
        QCOMPARE(e.ZTable1.displayText(u"brutto"), brutto);
        QCOMPARE(e.ZTable1.asString(u"alibibrutt"), alibi);
        QCOMPARE(e.ZTable1.isNull(u"datbrutto"), brutto == QStringLiteral("0"));
        QCOMPARE(QFileInfo::exists(answer()), answerStays);
        // The request: a copy of vahaPLX.ini with its modification time.
        const QString request = m_exchange + QStringLiteral("/dejvahu.txt");
        QCOMPARE(test::readFile(request), test::readFile(m_ini));
        QCOMPARE(FileAgeDate(request), FileAgeDate(m_ini));
    }

    void tareAndNetRule() {
        TicketEditor& e = newTicket("30,5", "0");
        writeAnswer("a;b;10200\r\n");
        QCOMPARE(e.readGrossOrTare(Weight::Tare), Reading::Taken);
        QCOMPARE(e.ZTable1.displayText(u"tara"), QStringLiteral("10,2"));
        QCOMPARE(e.ZTable1.displayText(u"netto"), QStringLiteral("20,3"));
        QVERIFY(!e.ZTable1.isNull(u"dattara"));
        QCOMPARE(e.ZTable1.asString(u"alibitara"), QString()); // no alibi in the answer

        TicketEditor& g = newTicket("", "");
        writeAnswer("a;b;30500|W1\r\n");
        QCOMPARE(g.readGrossOrTare(Weight::Gross), Reading::Taken);
        QCOMPARE(g.ZTable1.displayText(u"brutto"), QStringLiteral("30,5"));
        QCOMPARE(g.ZTable1.displayText(u"netto"), QStringLiteral("0")); // no tare: unchanged
        QVERIFY(!g.ZTable1.isNull(u"datbrutto"));
    }

    void netReading() {
        TicketEditor& e = newTicket();
        QCOMPARE(e.readNet(), Reading::NoAnswer);
        writeAnswer("a;b;5000\r\n");
        QCOMPARE(e.readNet(), Reading::Taken);
        QCOMPARE(e.ZTable1.displayText(u"netto"), QStringLiteral("5"));
        QVERIFY(QFileInfo::exists(answer()));                                     // stays in place
        QVERIFY(!QFileInfo::exists(m_exchange + QStringLiteral("/dejvahu.txt"))); // no request
        writeAnswer("a;b;5000|A1\r\n");
        QVERIFY_THROWS_EXCEPTION(Error, e.readNet()); // the whole field is converted
        QCOMPARE(e.ZTable1.displayText(u"netto"), QStringLiteral("5"));
    }

    // The simulator answers after the delay; the program looks 20 times, every 500 ms.
    void answerTiming_data() {
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("reading");
        QTest::newRow("after 9.8 s: taken") << 9800 << int(Reading::Taken);
        QTest::newRow("after 10.2 s: too late") << 10200 << int(Reading::NoAnswer);
    }
    void answerTiming() {
        QFETCH(int, delay);
        QFETCH(int, reading);
        TicketEditor& e = newTicket();
        QProcess sim;
        sim.start(test::toolPath(QStringLiteral("vaha-scale-sim")),
                  {"--dir", m_exchange, "--weight", "30500", "--alibi", "A17", "--delay",
                   QString::number(delay), "--count", "1", "--idle-exit", "30"});
        QVERIFY(sim.waitForReadyRead(10000)); // "watching ..."
        QCOMPARE(int(e.readGrossOrTare(Weight::Gross)), reading);
        // The wait runs events, so the simulator's end may have been noticed already.
        QVERIFY(sim.state() == QProcess::NotRunning || sim.waitForFinished(15000));
        QCOMPARE(sim.exitCode(), 0);
        if (reading == int(Reading::Taken)) {
            QCOMPARE(e.ZTable1.asString(u"alibibrutt"), QStringLiteral("30500|A17"));
            QVERIFY(!QFileInfo::exists(answer()));
        } else {
            QCOMPARE(e.ZTable1.displayText(u"brutto"), QStringLiteral("0"));
            QVERIFY(QFileInfo::exists(answer())); // the late answer is left for the next look
        }
    }

    void overtakenReadingsWriteNothing() {
        // The ticket is closed during the wait, then the answer comes.
        TicketEditor& e = newTicket();
        QTimer::singleShot(150, [&] { e.close(); });
        QTimer::singleShot(250, [&] { writeAnswer("a;b;30500\r\n"); });
        QCOMPARE(e.readGrossOrTare(Weight::Gross), Reading::Abandoned);
        QVERIFY(QFileInfo::exists(answer()));
        QCOMPARE(m_f->working("brutto"), QStringLiteral("0.0000"));

        // "Tara" pressed while "Brutto" waits: the tare takes the answer, the gross gives up.
        QFile::remove(answer());
        TicketEditor& t = newTicket("", "");
        Reading inner = Reading::Abandoned;
        QTimer::singleShot(100, [&] { writeAnswer("a;b;10200\r\n"); });
        QTimer::singleShot(200, [&] { inner = t.readGrossOrTare(Weight::Tare); });
        QCOMPARE(t.readGrossOrTare(Weight::Gross), Reading::Abandoned);
        QCOMPARE(inner, Reading::Taken);
        QCOMPARE(t.ZTable1.displayText(u"tara"), QStringLiteral("10,2"));
        QVERIFY(t.ZTable1.isNull(u"brutto"));

        // The form and its logic are gone before the wait ends.
        auto* gone = new TicketEditor(m_f->context());
        gone->create(m_ini, m_tmp.path() + QStringLiteral("/sklady.txt"));
        gone->open();
        QTimer::singleShot(150, [gone] { delete gone; });
        int busy = 0;
        QCOMPARE(gone->readGrossOrTare(Weight::Gross, [&](bool on) { busy += on ? 1 : 10; }),
                 Reading::Abandoned);
        QCOMPARE(busy, 11);
    }
};

QTEST_GUILESS_MAIN(TestScaleExchange)
#include "tst_scale_exchange.moc"
