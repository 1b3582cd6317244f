// "Brutto" in the entry form against answer files and exchange directories that are not as
// the scale program should leave them: the message the user sees, and what the ticket keeps.
#include "../tickets/ticketfixture.h"
#include "support/testutil.h"
#include "tickets/tfvstup.h"
#include "tickets/ticketeditor.h"
#include "ui_tfvstup.h"
#include "util/cp1250.h"
#include "util/widgets/messages.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using namespace vaha::tickets;
using vaha::test::TicketFixture;

class TestScaleFiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    std::unique_ptr<TicketFixture> m_f;
    ui::BoxRecorder m_boxes;

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        test::makeTempDir(m_tmp);
        test::writeFile(m_tmp.path() + QStringLiteral("/sklady.txt"), "01;Sklad 1\r\n");
        QDir::setCurrent(m_tmp.path());
        m_f = std::make_unique<TicketFixture>();
    }

    // answer: the bytes of aktualni.log ("<dir>": a directory of that name, a file that cannot
    // be read; "<none>": nothing, and the exchange directory itself does not exist).
    void grossReading_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("brutto");
        QTest::addColumn<QString>("alibi");
        const QString longAlibi = QStringLiteral("30500|") + QString(80, u'A');
        QTest::newRow("alibi as long as its column")
            << ("a;b;30500|" + QByteArray(54, 'A')) << ""
            << "30,5" << QStringLiteral("30500|") + QString(54, u'A');
        QTest::newRow("alibi longer than its column")
            << longAlibi.toLatin1().prepend("a;b;") << "je delší než 60 znaků sloupce ALIBIBRUTT"
            << "0"
            << "";
        QTest::newRow("figure too big for the weight column")
            << QByteArray("a;b;99999999999999|A1") << "je mimo rozsah sloupce BRUTTO"
            << "0"
            << "99999999999999|A1"; // as for a figure that does not convert
        QTest::newRow("answer that cannot be read") << QByteArray("<dir>") << "Cannot open file"
                                                    << "0"
                                                    << "";
        QTest::newRow("exchange directory missing")
            << QByteArray("<none>") << "Váha není autorizována."
            << "0"
            << "";
    }
    void grossReading() {
        QFETCH(QByteArray, answer);
        QFETCH(QString, message);
        QFETCH(QString, brutto);
        QFETCH(QString, alibi);
        QTemporaryDir program;
        const QString exchange = program.path() + QStringLiteral("/váha");
        if (answer != "<none>")
            QDir().mkpath(exchange);
        test::writeFile(program.path() + QStringLiteral("/vahaPLX.ini"),
                        cp1250::encode(QStringLiteral("[VAHA]\r\ncestaVaha=%1\r\n").arg(exchange)));
        const QString answerPath = exchange + QStringLiteral("/aktualni.log");
        if (answer == "<dir>")
            QDir().mkpath(answerPath);
        else if (answer != "<none>")
            test::writeFile(answerPath, answer + "\r\n");

        TFvstup form(m_f->context());
        form.FormCreate(program.path() + u'/');
        form.Tag = 0;
        form.show();
        m_boxes.clear();
        QTest::mouseClick(form.ui().Button5, Qt::LeftButton); // "Brutto"

        const QList<ui::ShownBox> boxes = m_boxes.take();
        if (message.isEmpty()) {
            QVERIFY2(boxes.isEmpty(), qPrintable(boxes.value(0).text));
        } else {
            QCOMPARE(boxes.size(), 1);
            QVERIFY2(boxes[0].text.contains(message), qPrintable(boxes[0].text));
        }
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(form.ui().EditBrutto->text(), brutto);
        QCOMPARE(form.logic().ZTable1.asString(u"alibibrutt"), alibi);
        // What the form shows is what "Uložit" keeps.
        QTest::mouseClick(form.ui().Button2, Qt::LeftButton);
        QVERIFY2(m_boxes.boxes().isEmpty(), qPrintable(m_boxes.boxes().value(0).text));
        const int id = int(m_f->db().scalarInt(QStringLiteral("select max(id) from vazlab")));
        QCOMPARE(m_f->ticket(id, QStringLiteral("alibibrutt")), alibi);
        QCOMPARE(m_f->ticket(id, QStringLiteral("brutto")).toDouble(), QLocale().toDouble(brutto));
    }
};

QTEST_MAIN(TestScaleFiles)
#include "tst_scale_files.moc"
