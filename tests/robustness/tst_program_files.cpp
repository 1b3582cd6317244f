// The entry form's creation against a missing or incomplete vahaPLX.ini and sklady.txt: what
// the user is told, and what the form can still do.
#include "db/appcontext.h"
#include "support/testutil.h"
#include "tickets/tfvstup.h"
#include "ui_tfvstup.h"
#include "util/widgets/messages.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;

class TestProgramFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // ini, sklady: the files' bytes, or "<none>" for no file.
    void creation_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QByteArray>("sklady");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("scale");
        QTest::addColumn<QStringList>("warehouses");
        const QByteArray ini = "[VAHA]\r\ncestaVaha=/srv/vaha\r\n";
        QTest::newRow("both as they should be")
            << ini << QByteArray("01;Sklad 1\r\n") << "" << true << QStringList{"01 Sklad 1"};
        QTest::newRow("warehouses list missing")
            << ini << QByteArray("<none>") << "Cannot open file" << true << QStringList{};
        QTest::newRow("program configuration missing")
            << QByteArray("<none>") << QByteArray("01;Sklad 1\r\n") << "" << false
            << QStringList{"01 Sklad 1"};
        QTest::newRow("binary rubbish in both")
            << QByteArray("\x00\xff[VAHA\r\n=\x81", 9) << QByteArray("\x00;\xff\r\n", 5) << ""
            << false << QStringList{QString(QChar(0)) + u' ' + QChar(0x02D9)};
    }
    void creation() {
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, sklady);
        QFETCH(QString, message);
        QFETCH(bool, scale);
        QFETCH(QStringList, warehouses);
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path()); // sklady.txt is read from the current directory
        if (ini != "<none>")
            test::writeFile(dir.path() + QStringLiteral("/vahaPLX.ini"), ini);
        if (sklady != "<none>")
            test::writeFile(dir.path() + QStringLiteral("/sklady.txt"), sklady);
        AppContext context;
        ui::BoxRecorder boxes;
        tickets::TFvstup form(context);
        boxes.clear(); // the constructor reads the test program's own directory
        form.FormCreate(dir.path() + u'/');
        QDir::setCurrent(previous);

        if (message.isEmpty()) {
            QVERIFY2(boxes.boxes().isEmpty(), qPrintable(boxes.boxes().value(0).text));
        } else {
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes()[0].kind, ui::BoxKind::Error);
            QVERIFY2(boxes.boxes()[0].text.contains(message), qPrintable(boxes.boxes()[0].text));
        }
        QCOMPARE(form.ui().Button5->isEnabled(), scale);
        QCOMPARE(form.ui().Button7->isEnabled(), scale);
        QStringList shown;
        for (int i = 0; i < form.ui().RxDBComboBoxSklad->count(); ++i)
            shown << form.ui().RxDBComboBoxSklad->itemText(i);
        QCOMPARE(shown, warehouses);
    }
};

QTEST_MAIN(TestProgramFiles)
#include "tst_program_files.moc"
