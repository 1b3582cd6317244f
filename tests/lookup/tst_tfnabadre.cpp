#include "db/query.h"
#include "lookup/searchlistmodel.h"
#include "lookup/tfnabadre.h"
#include "lookup/tsearchform2.h"
#include "partners.h"
#include "typing.h"
#include "util/widgets/datagrid.h"
#include "util/widgets/messages.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace vaha;
using namespace vaha::lookup;
using vaha::test::TestDatabase;
using vaha::test::typeText;

// The address book shown modally as the entry form shows it, over the real partner table.
class TestTFnabadre : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<db::Connection> m_conn;

    // Shows the book as the entry form does; `drive` runs inside the modal loop. A watchdog
    // closes whatever is left open, so a failing check cannot hang the run.
    void show(TFnabadre& book, const std::function<void()>& drive) {
        book.Tag = 0;
        book.zqAdre()->setConnection(m_conn.get());
        QTimer::singleShot(0, &book, drive);
        QTimer watchdog;
        watchdog.setInterval(20000);
        connect(&watchdog, &QTimer::timeout, [] {
            while (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        watchdog.start();
        book.exec();
    }
    // Runs `drive` on the search dialog that the next step opens.
    void onSearch(const std::function<void(TSearchForm2&)>& drive) {
        QTimer::singleShot(0, this, [drive] {
            auto* form = qobject_cast<TSearchForm2*>(QApplication::activeModalWidget());
            if (!form) {
                QFAIL("no search dialog");
                return;
            }
            drive(*form);
            if (form->isVisible())
                form->reject();
        });
    }
    static ui::DataGrid* grid(TFnabadre& book) {
        return book.findChild<ui::DataGrid*>(QStringLiteral("DBGrid1"));
    }
    static QLineEdit* templateOf(TSearchForm2& form) {
        return form.findChild<QLineEdit*>(QStringLiteral("edtemplate"));
    }
    static QString ico(TFnabadre& book) { return book.zqAdre()->asString(u"ico"); }

private Q_SLOTS:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        test::loadLookupFixture(*m_db);
        m_conn = m_db->connect();
    }

    void looksAsDesigned() {
        TFnabadre book;
        QStringList titles;
        QList<int> widths;
        QPoint place;
        bool openAfterEsc = false;
        show(book, [&] {
            place = book.pos();
            QTest::keyClick(grid(book), Qt::Key_Escape);
            openAfterEsc = book.isVisible();
            for (int c = 0; c < grid(book)->model()->columnCount(); ++c) {
                titles << grid(book)->model()->headerData(c, Qt::Horizontal).toString();
                widths << grid(book)->columnWidth(c);
            }
            book.reject();
        });
        QCOMPARE(book.windowTitle(), QStringLiteral("Adresář"));
        QCOMPARE(place, QPoint(0, 100));
        QVERIFY(openAfterEsc);
        QCOMPARE(titles,
                 (QStringList{"IČO", "Název podniku", "Sídlo", "Ulice , číslo", "PSČ", "Pošta"}));
        QCOMPARE(widths[0], 65);
        QCOMPARE(widths[1], 180);
        QCOMPARE(widths[5], 150);
        QCOMPARE(grid(book)->model()->rowCount(), 8);
    }

    void leavingWithoutTaking_data() {
        QTest::addColumn<bool>("titleBar");
        QTest::newRow("Zpět") << false;
        QTest::newRow("title bar close") << true;
    }
    void leavingWithoutTaking() {
        QFETCH(bool, titleBar);
        TFnabadre book;
        show(book, [&] {
            QTest::keyClick(grid(book), Qt::Key_Down);
            QTest::keyClick(grid(book), Qt::Key_Down);
            if (titleBar)
                book.close();
            else
                QTest::mouseClick(book.findChild<QPushButton*>(QStringLiteral("Button2")),
                                  Qt::LeftButton);
        });
        QCOMPARE(book.Tag, 0);
        QCOMPARE(ico(book), QStringLiteral("300")); // the query stays on the row reached
        QVERIFY(!book.hotKeysActive());
    }

    void accepting_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter in the grid") << "enter grid";
        QTest::newRow("Enter on the Zpět button") << "enter Button2";
        QTest::newRow("Převzít") << "click Button1";
        QTest::newRow("double click") << "double click";
    }
    void accepting() {
        QFETCH(QString, how);
        TFnabadre book;
        show(book, [&] {
            QTest::keyClick(grid(book), Qt::Key_Down);
            if (how == "enter grid") {
                QTest::keyClick(grid(book), Qt::Key_Return);
            } else if (how == "enter Button2") {
                auto* back = book.findChild<QPushButton*>(QStringLiteral("Button2"));
                back->setFocus();
                QTest::keyClick(back, Qt::Key_Enter, Qt::KeypadModifier);
            } else if (how == "click Button1") {
                QTest::mouseClick(book.findChild<QPushButton*>(QStringLiteral("Button1")),
                                  Qt::LeftButton);
            } else {
                const QRect cell = grid(book)->visualRect(grid(book)->model()->index(1, 1));
                QTest::mouseClick(grid(book)->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(grid(book)->viewport(), Qt::LeftButton, {}, cell.center());
            }
        });
        QCOMPARE(book.Tag, 1);
        QCOMPARE(ico(book), QStringLiteral("200"));
    }

    void f3SortsByNameAndSearches() {
        TFnabadre book;
        QStringList entries;
        QString field, skin;
        int width = 0;
        bool keysDuringSearch = true, gridFollowed = false, bookOpenAfterEnter = false;
        bool keysAfter = false;
        show(book, [&] {
            QTest::keyClick(grid(book), Qt::Key_Down); // on 200, Kabát
            onSearch([&](TSearchForm2& form) {
                field = form.searchFieldName();
                width = form.width();
                skin = form.skinStyleName();
                keysDuringSearch = book.hotKeysActive();
                for (int r = 0; r < form.listModel()->rowCount(); ++r)
                    entries << form.listModel()->index(r).data().toString();
                typeText(templateOf(form), QStringLiteral("řep"));
                gridFollowed = grid(book)->currentIndex().row() == book.zqAdre()->position() &&
                               ico(book) == QStringLiteral("500");
                QTest::keyClick(templateOf(form), Qt::Key_Return); // accepts the search only
            });
            QTest::keyClick(grid(book), Qt::Key_F3);
            bookOpenAfterEnter = book.isVisible();
            keysAfter = book.hotKeysActive();
            // Cancelling goes back to the row that was current after the sort.
            onSearch([&](TSearchForm2& form) {
                QTest::keyClick(templateOf(form), Qt::Key_Down);
                QTest::keyClick(templateOf(form), Qt::Key_Down);
            });
            QTest::keyClick(book.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::Key_F3);
            book.reject();
        });
        QCOMPARE(field.toLower(), QStringLiteral("nazevpodni"));
        QCOMPARE(width, 600);
        QCOMPARE(skin, QStringLiteral("WinXP"));
        QVERIFY(!keysDuringSearch);
        QCOMPARE(entries, (QStringList{"Agro Šlapanice", "Čech a syn", "Kabát s.r.o.",
                                       "LAB spol. s r.o.", "Novák Josef", "Novák Josef",
                                       "Řepka Agro", "Zemědělská a.s. Kyjov"}));
        QVERIFY(gridFollowed);
        QVERIFY(bookOpenAfterEnter);
        QVERIFY(keysAfter);
        QCOMPARE(book.Tag, 0);
        QCOMPARE(book.zqAdre()->sortField().toLower(), QStringLiteral("nazevpodni"));
        QCOMPARE(ico(book), QStringLiteral("500"));
    }

    void titleClickSortsByThatColumn() {
        TFnabadre book;
        QStringList entries;
        QString field;
        show(book, [&] {
            onSearch([&](TSearchForm2& form) {
                field = form.searchFieldName();
                for (int r = 0; r < form.listModel()->rowCount(); ++r)
                    entries << form.listModel()->index(r).data().toString();
            });
            QHeaderView* titles = grid(book)->horizontalHeader();
            QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                              QPoint(titles->sectionViewportPosition(4) + 5, 5));
            book.reject();
        });
        QCOMPARE(field.toLower(), QStringLiteral("psc"));
        QCOMPARE(entries, (QStringList{"28601", "43801", "44001", "60200", "66451", "69002",
                                       "69501", "69701"}));
        QCOMPARE(book.zqAdre()->sortField().toLower(), QStringLiteral("psc"));
    }

    void secondShowingReadsNothing() {
        TFnabadre book;
        show(book, [&] {
            onSearch([](TSearchForm2&) {});
            QTest::keyClick(grid(book), Qt::Key_F3);
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(grid(book), Qt::Key_Down);
            book.reject();
        });
        const QString left = ico(book);
        const quint64 statements = m_conn->statementCount();
        m_db->exec(QStringLiteral("insert into adresar (ico, nazevpodni) values ('900', 'Nový')"));

        int rows = 0, row = -1;
        QString order;
        show(book, [&] {
            rows = grid(book)->model()->rowCount();
            row = grid(book)->currentIndex().row();
            order = grid(book)->model()->index(0, 1).data().toString();
            book.reject();
        });
        m_db->exec(QStringLiteral("delete from adresar where ico = '900'"));
        QCOMPARE(m_conn->statementCount(), statements);
        QCOMPARE(rows, 8);
        QCOMPARE(row, 5);
        QCOMPARE(order, QStringLiteral("Agro Šlapanice"));
        QCOMPARE(ico(book), left);
    }

    void failedOpenIsReportedAndTakesNothing() {
        ui::BoxRecorder boxes;
        db::Connection nowhere;
        nowhere.setHost(TestDatabase::host());
        nowhere.setPort(1);
        nowhere.setConnectTimeout(2);
        TFnabadre book;
        bool shown = false;
        QTimer::singleShot(0, &book, [&] {
            shown = book.isVisible();
            book.reject();
        });
        book.zqAdre()->setConnection(&nowhere);
        book.exec();
        QVERIFY(shown);
        QCOMPARE(book.Tag, 0);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].kind, ui::BoxKind::Error);
        QVERIFY(!book.zqAdre()->isOpen());
    }
};

QTEST_MAIN(TestTFnabadre)
#include "tst_tfnabadre.moc"
