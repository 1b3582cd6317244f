// The main window: start-up sequence, list statements and filters, opening the entry form.
#include "app/startup.h"
#include "app/tfvaha.h"
#include "db/appcontext.h"
#include "support/testdatabase.h"
#include "support/testutil.h"
#include "tickets/tfvstup.h"
#include "util/datetimevalue.h"
#include "util/widgets/dateedit.h"
#include "util/widgets/messages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vaha;
using vaha::test::TestDatabase;
using vaha::test::writeFile;

namespace {

// A working directory whose parent holds trivon05.ini, as the offices have it.
class Workplace {
public:
    explicit Workplace(const QByteArray& ini) {
        m_previous = QDir::currentPath();
        QDir(m_tmp.path()).mkpath(QStringLiteral("work"));
        if (!ini.isNull())
            writeFile(m_tmp.path() + QStringLiteral("/trivon05.ini"), ini);
        QDir::setCurrent(m_tmp.path() + QStringLiteral("/work"));
    }
    ~Workplace() { QDir::setCurrent(m_previous); }

private:
    QTemporaryDir m_tmp;
    QString m_previous;
};

QByteArray logon(const TestDatabase& db, const QByteArray& extra = {}) {
    return "[LogON]\r\nIP=127.0.0.1\r\nUser=root\r\nDatabase=" + db.name().toLatin1() +
           "\r\nSQLport=" + QByteArray::number(TestDatabase::port()) + "\r\n" + extra;
}

template <typename T> T* child(QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QString today() {
    return DateToSqlText(toDateTimeValue(QDate::currentDate()));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;

    struct Started {
        AppContext context;
        std::unique_ptr<app::TFvaha> window;
        QStringList sent;
        ui::BoxRecorder boxes;
    };
    std::unique_ptr<Started> start(const QByteArray& ini) {
        auto s = std::make_unique<Started>();
        s->context.connection.setConnectTimeout(3);
        s->context.connection.setStatementObserver(
            [p = s.get()](const QString& st) { p->sent << st; });
        s->window = std::make_unique<app::TFvaha>(s->context);
        Workplace place(ini);
        s->window->show(); // runs the show sequence
        return s;
    }

private Q_SLOTS:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "insert into vazlab (cislodokla, datum, brutto, tara, nazevpodni) values "
            "(1, CURDATE() - INTERVAL 400 DAY, 30, 10, 'loni'),"
            "(7, CURDATE(), 30, 0, 'dnes otevřený'), (8, CURDATE(), 31, 11, 'dnes uzavřený'),"
            "(3, CURDATE() - INTERVAL 1 DAY, 0, 0, 'včera otevřený'),"
            "(9, CURDATE(), NULL, 0, 'dnes brutto NULL'), (10, CURDATE(), NULL, 12, 'NULL a "
            "tara')"));
    }

    void startShowsTodaysOpenTicketsWithTheExactStatement() {
        auto s = start(logon(*m_db, "CisloPC=3\r\n"));
        QVERIFY(s->boxes.boxes().isEmpty());
        const QStringList expected{QStringLiteral("select * from vazlab"),
                                   QStringLiteral("where 1=1"),
                                   QStringLiteral(" and (brutto=0 or tara=0)"),
                                   QStringLiteral(" and datum='") + today() + u'\'',
                                   QStringLiteral("order by datum DESC, cislodokla DESC")};
        QCOMPARE(s->window->list().ZQuery1.sql(), expected);
        QCOMPARE(s->sent.last(), expected.join(u'\n'));
        QCOMPARE(s->context.workstation, QStringLiteral("3"));
        QCOMPARE(m_db->scalarInt(QStringLiteral("select count(*) from historiem where pc='3'")), 1);
        // Newest number first; a NULL gross with tare 0 is open, with a tare it is not.
        QStringList names;
        auto& q = s->window->list().ZQuery1;
        for (q.first(); !q.eof(); q.next())
            names << q.asString(u"nazevpodni");
        QCOMPARE(names, (QStringList{"dnes brutto NULL", "dnes otevřený"}));
        QCOMPARE(child<QTableView>(s->window.get(), "suiDBGrid1")->model()->rowCount(), 2);
        QCOMPARE(child<QTableView>(s->window.get(), "suiDBGrid1")->model()->columnCount(), 44);
        QCOMPARE(s->window->windowTitle(), QStringLiteral("Fvaha"));
    }

    void filtersBuildTheirStatements() {
        auto s = start(logon(*m_db));
        QWidget* w = s->window.get();
        const int sent = int(s->sent.size());

        child<QCheckBox>(w, "CheckBox2")->click(); // "ze dne" off: every open ticket of every day
        QCOMPARE(s->window->list().ZQuery1.sql(),
                 (QStringList{"select * from vazlab", "where 1=1", " and (brutto=0 or tara=0)",
                              "order by datum DESC, cislodokla DESC"}));
        QCOMPARE(s->window->list().ZQuery1.recordCount(), 3);
        child<ui::DateEdit>(w, "DateEdit1")
            ->setText(QStringLiteral("1.1.2020")); // no re-query while "ze dne" is off
        QCOMPARE(s->sent.size(), sent + 1);

        child<QCheckBox>(w, "CheckBox1")->click(); // both off: every ticket, newest day first
        QCOMPARE(s->window->list().ZQuery1.sql(),
                 (QStringList{"select * from vazlab", "where 1=1",
                              "order by datum DESC, cislodokla DESC"}));
        QCOMPARE(s->window->list().ZQuery1.recordCount(), 6);
        QCOMPARE(s->window->list().ZQuery1.asString(u"cislodokla"), QStringLiteral("10"));

        child<QCheckBox>(w, "CheckBox2")->click(); // one day only, the date typed meanwhile
        QCOMPARE(s->window->list().ZQuery1.sql().at(2), QStringLiteral(" and datum='2020-01-01'"));
        child<ui::DateEdit>(w, "DateEdit1")
            ->setText(QStringLiteral("1.1.")); // half typed: day zero, empty list
        QCOMPARE(s->window->list().ZQuery1.sql().at(2), QStringLiteral(" and datum='1899-12-30'"));
        QCOMPARE(s->window->list().ZQuery1.recordCount(), 0);
    }

    void newAndEditOpenTheEntryFormWithTheTicketId() {
        auto s = start(logon(*m_db));
        tickets::TFvstup form(s->context, s->window.get());
        s->window->setEntryForm(&form);
        s->boxes.clear(); // the form's own start-up reports (no sklady.txt here) are not ours
        int shownTag = -1;
        auto closeWhenShown = [&] {
            QTimer::singleShot(0, this, [&] {
                shownTag = form.Tag;
                form.reject();
            });
        };
        closeWhenShown();
        child<QPushButton>(s->window.get(), "Button1")->click();
        QCOMPARE(shownTag, 0);

        const int selected = int(s->window->list().ZQuery1.asInt(u"id"));
        closeWhenShown();
        child<QPushButton>(s->window.get(), "Button3")->click();
        QCOMPARE(shownTag, selected);
        QVERIFY(selected > 0);

        // An empty list opens a new ticket.
        child<ui::DateEdit>(s->window.get(), "DateEdit1")->setText(QStringLiteral("1.1.1990"));
        closeWhenShown();
        s->window->suiDBGrid1DblClick();
        QCOMPARE(shownTag, 0);
        QVERIFY(s->boxes.boxes().isEmpty());
    }

    void editOnAClosedListReportsTheMissingField() {
        auto s = start(logon(*m_db));
        tickets::TFvstup form(s->context, s->window.get());
        s->window->setEntryForm(&form);
        s->boxes.clear();
        s->window->list().ZQuery1.close();
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            opened = form.isVisible();
            form.reject();
        });
        child<QPushButton>(s->window.get(), "Button3")->click();
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(s->boxes.boxes().size(), 1);
        QCOMPARE(s->boxes.boxes()[0].kind, ui::BoxKind::Error);
        QCOMPARE(s->boxes.boxes()[0].text, QStringLiteral("Field 'id' not found"));
    }

    void badStartSettingsAreReportedAndTheWindowStillOpens_data() {
        QTest::addColumn<QByteArray>("extra");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty SQL port")
            << QByteArray("SQLport=\r\n") << "'' is not a valid integer value";
        QTest::newRow("letters in SQL port")
            << QByteArray("SQLport=abc\r\n") << "'abc' is not a valid integer value";
    }
    void badStartSettingsAreReportedAndTheWindowStillOpens() {
        QFETCH(QByteArray, extra);
        QFETCH(QString, message);
        // The first SQLport key counts, so the bad one goes first.
        QByteArray ini = "[LogON]\r\n" + extra + logon(*m_db).mid(9);
        auto s = start(ini);
        QVERIFY(s->window->isVisible());
        QCOMPARE(s->boxes.boxes().size(), 1);
        QCOMPARE(s->boxes.boxes()[0].text, message);
        QVERIFY(!s->window->list().ZQuery1.isOpen());
        QCOMPARE(s->window->list().orderClause, QString());
        QCOMPARE(child<ui::DateEdit>(s->window.get(), "DateEdit1")->text(), QString());
        QCOMPARE(child<QTableView>(s->window.get(), "suiDBGrid1")->model()->rowCount(), 0);
    }

    void workstationNumberThatCannotNameATableIsRefused_data() {
        QTest::addColumn<QString>("number");
        QTest::newRow("quote") << QStringLiteral("3'");
        QTest::newRow("space") << QStringLiteral("kancl 2");
    }
    void workstationNumberThatCannotNameATableIsRefused() {
        QFETCH(QString, number);
        auto s = start(logon(*m_db, "CisloPC=" + number.toLatin1() + "\r\n"));
        QCOMPARE(s->boxes.boxes().size(), 1);
        QVERIFY2(s->boxes.boxes()[0].text.contains(QStringLiteral("CisloPC")),
                 qPrintable(s->boxes.boxes()[0].text));
        // The list still works and the start is logged with the number as typed.
        QVERIFY(s->window->list().ZQuery1.isOpen());
        QCOMPARE(m_db->scalar(QStringLiteral("select pc from historiem order by id desc limit 1")),
                 number);
    }

    void noConfigurationFileMeansDefaults() {
        auto s = start(QByteArray()); // no trivon05.ini at all
        const db::Connection& c = s->context.connection;
        QCOMPARE(c.host(), QStringLiteral("localhost"));
        QCOMPARE(c.user(), QStringLiteral("root"));
        QCOMPARE(c.password(), QString());
        QCOMPARE(c.database(), QStringLiteral("trivon"));
        QCOMPARE(c.port(), 3306);
        QCOMPARE(s->context.workstation, QString());
        QCOMPARE(s->context.workingTable(), QStringLiteral("tmpvaha"));
    }

    void closingTheMenuItemEndsTheWindow() {
        auto s = start(logon(*m_db));
        child<QAction>(s->window.get(), "Opravdu1")->trigger();
        QVERIFY(!s->window->isVisible());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app::installFontSubstitutes();
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_mainwindow.moc"
