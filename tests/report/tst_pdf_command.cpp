// `vahaPLX --pdf ID FILE`: the archive copy of a ticket's note, written by the program itself
// with the office's configuration files and no display; failures exit non-zero with a reason.
#include "pdftext.h"
#include "support/testdatabase.h"
#include "support/testutil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using vaha::test::TestDatabase;

class TestPdfCommand : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

private Q_SLOTS:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(
            QStringLiteral("insert into vazlab (id, cislodokla, datum, nazevpodni, netto) values "
                           "(61, 15, '2024-05-07', 'Zemědělská společnost Čejč a.s.', 20300)"));
    }

    void archiveCopy_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("fileArgument");
        QTest::addColumn<int>("port"); // 0: the test server's
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("note written") << "61" << true << 0 << 0 << "";
        QTest::newRow("no such ticket") << "9999" << true << 0 << 1 << "s id 9999 neexistuje";
        QTest::newRow("server missing") << "61" << true << 1 << 1 << "connect";
        QTest::newRow("id not a number") << "61 or 1=1" << true << 0 << 2 << "není id";
        QTest::newRow("file missing") << "61" << false << 0 << 2 << "použití";
    }
    void archiveCopy() {
        QFETCH(QString, id);
        QFETCH(bool, fileArgument);
        QFETCH(int, port);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        // The office layout: the shared configuration file beside the working directory.
        QTemporaryDir place;
        QVERIFY(QDir(place.path()).mkpath(QStringLiteral("work")));
        test::writeFile(
            place.filePath(QStringLiteral("trivon05.ini")),
            "[LogON]\r\nIP=127.0.0.1\r\nUser=root\r\nDatabase=" + m_db->name().toLatin1() +
                "\r\nSQLport=" + QByteArray::number(port ? port : TestDatabase::port()) +
                "\r\nCisloPC=7\r\n");
        const QString pdf = place.filePath(QStringLiteral("archiv/dodaci list 61.pdf"));
        QVERIFY(QDir(place.path()).mkpath(QStringLiteral("archiv")));
        test::writeFile(pdf, "older copy"); // replaced without asking

        QProcess program;
        program.setWorkingDirectory(place.filePath(QStringLiteral("work")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM")); // no display and no platform chosen
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(env);
        QStringList arguments{QStringLiteral("--pdf"), id};
        if (fileArgument)
            arguments << pdf;
        program.start(qEnvironmentVariable("VAHA_BINARY_DIR") + QStringLiteral("/vahaPLX"),
                      arguments);
        QVERIFY(program.waitForFinished(60000));
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == exitCode, qPrintable(errors));
        if (exitCode == 0) {
            QVERIFY2(!errors.contains(QStringLiteral("vahaPLX --pdf")), qPrintable(errors));
            const auto words = test::pdfWords(pdf);
            QVERIFY(!test::findText(words, QStringLiteral("20,3 t")).isEmpty());
            QVERIFY(!test::findText(words, QStringLiteral("Zemědělská společnost Čejč a.s."))
                         .isEmpty());
        } else {
            QVERIFY2(errors.contains(message), qPrintable(errors));
            QCOMPARE(test::readFile(pdf), QByteArray("older copy")); // nothing half-written
        }
    }
};

QTEST_MAIN(TestPdfCommand)
#include "tst_pdf_command.moc"
