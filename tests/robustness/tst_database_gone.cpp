// The database session goes away (the server restarted, the network dropped, an administrator
// killed it) while the program is running: whatever the user does next in a window shows the
// server's error once, leaves nothing half done, and the same action works again at once over
// a new session.
#include "app/startup.h"
#include "app/tfvaha.h"
#include "db/appcontext.h"
#include "db/query.h"
#include "report/modal.h"
#include "support/testdatabase.h"
#include "support/testutil.h"
#include "tickets/tfvstup.h"
#include "tickets/ticketeditor.h"
#include "ui_tfvstup.h"
#include "util/widgets/messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vaha;
using vaha::test::TestDatabase;

namespace {

// The program as an office runs it: trivon05.ini in the parent of the current directory,
// sklady.txt in it, the main window shown (its start connects and lists today's tickets).
struct Office {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    AppContext context;
    ui::BoxRecorder boxes;
    std::unique_ptr<app::TFvaha> window;
    std::unique_ptr<tickets::TFvstup> form;

    explicit Office(const TestDatabase& db) {
        const QString work = dir.path() + QStringLiteral("/work");
        QDir().mkpath(work);
        test::writeFile(dir.path() + QStringLiteral("/trivon05.ini"),
                        "[LogON]\r\nIP=127.0.0.1\r\nDatabase=" + db.name().toLatin1() +
                            "\r\nSQLport=" + QByteArray::number(TestDatabase::port()) +
                            "\r\nCisloPC=7\r\n");
        test::writeFile(work + QStringLiteral("/sklady.txt"), "01;Sklad 1\r\n");
        QDir::setCurrent(work);
        context.connection.setConnectTimeout(3);
        window = std::make_unique<app::TFvaha>(context);
        form = std::make_unique<tickets::TFvstup>(context, window.get());
        window->setEntryForm(form.get());
        window->show();
    }
    ~Office() { QDir::setCurrent(previous); }

    QString sessionId() {
        db::Query q(&context.connection);
        q.addLine(QStringLiteral("select connection_id()"));
        q.open();
        return q.asString(0);
    }
};

template <typename T> T* child(QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

} // namespace

class TestDatabaseGone : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    qint64 tickets() { return m_db->scalarInt(QStringLiteral("select count(*) from vazlab")); }

private Q_SLOTS:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral("insert into vazlab (cislodokla, datum, brutto, tara) values "
                                  "(1, CURDATE(), 30, 0)"));
    }

    void nextActionReportsOnceAndThenWorks_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        const QString lost = QStringLiteral("SQL Error: Lost connection to server");
        QTest::newRow("list filter clicked") << "filter" << lost;
        QTest::newRow("Nový: the entry form opens") << "new" << lost;
        QTest::newRow("Uložit in the entry form")
            << "save" << QStringLiteral("Doklad nebyl uložen.\nSQL Error: Lost connection");
        QTest::newRow("Náhled") << "preview" << lost;
    }
    void nextActionReportsOnceAndThenWorks() {
        QFETCH(QString, action);
        QFETCH(QString, message);
        Office office(*m_db);
        QVERIFY(office.window->list().ZQuery1.isOpen());
        tickets::TFvstup& form = *office.form;
        if (action == u"save") {
            form.Tag = 0;
            form.show(); // the form open on a new ticket
            QVERIFY(form.logic().ZTable1.isEditing());
        }
        office.boxes.clear();
        const qint64 before = tickets();

        // One step of the action; true when it did what it is for.
        report::DialogInterceptor previews;
        int previewsShown = 0;
        previews.onDialog = [&](QDialog&) {
            ++previewsShown;
            return int(QDialog::Accepted);
        };
        auto act = [&]() -> bool {
            QWidget* w = office.window.get();
            if (action == u"filter") {
                child<QCheckBox>(w, "CheckBox1")->click();
                return office.window->list().ZQuery1.isOpen();
            }
            if (action == u"new") {
                bool editing = false;
                QTimer::singleShot(0, this, [&] {
                    editing = form.logic().ZTable1.isEditing();
                    form.reject();
                });
                child<QPushButton>(w, "Button1")->click();
                return editing;
            }
            if (action == u"save") {
                QTest::mouseClick(form.ui().Button2, Qt::LeftButton);
                return !form.isVisible();
            }
            const int shown = previewsShown;
            child<QPushButton>(w, "Button4")->click();
            return previewsShown == shown + 1;
        };

        m_db->exec(QStringLiteral("KILL ") + office.sessionId());
        QVERIFY(!act());
        const QList<ui::ShownBox> boxes = office.boxes.take();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].kind, ui::BoxKind::Error);
        QVERIFY2(boxes[0].text.contains(message), qPrintable(boxes[0].text));
        QCOMPARE(tickets(), before);

        // The same action again: a new session, no message, and a save lands exactly once.
        QVERIFY(act());
        QVERIFY2(office.boxes.boxes().isEmpty(), qPrintable(office.boxes.boxes().value(0).text));
        QCOMPARE(tickets(), before + (action == u"save" ? 1 : 0));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app::installFontSubstitutes();
    TestDatabaseGone t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_database_gone.moc"
