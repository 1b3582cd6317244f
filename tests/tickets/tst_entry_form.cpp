// The entry form window: its controls, the bound edits, focus-driven look-ups, Enter as Tab,
// the save through "Uložit" and a reading the user overtakes by leaving the form.
#include "lookup/tfnabadre.h"
#include "support/testutil.h"
#include "ticketfixture.h"
#include "tickets/tfvstup.h"
#include "tickets/ticketcolumns.h"
#include "tickets/ticketeditor.h"
#include "ui_tfvstup.h"
#include "util/cp1250.h"
#include "util/widgets/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vaha;
using namespace vaha::tickets;
using vaha::test::TicketFixture;

namespace {

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

QString focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

} // namespace

class TestEntryForm : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_exchange;
    std::unique_ptr<TicketFixture> m_f;
    std::unique_ptr<lookup::TFnabadre> m_book;
    std::unique_ptr<TFvstup> m_form;
    ui::BoxRecorder m_boxes;

    Ui::TFvstup& u() { return m_form->ui(); }
    TicketEditor& logic() { return m_form->logic(); }
    template <typename T = QWidget> T* child(const QString& name) {
        return m_form->findChild<T*>(name);
    }

    void openForm(int id) {
        if (m_form->isVisible())
            m_form->reject();
        m_form->Tag = id;
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QVERIFY(logic().ZTable1.isEditing());
    }

    // Without a window manager nothing gives the form back the activation a modal dialog
    // took; its focus widget, set while it was inactive, takes the focus then.
    void reactivate() {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        const QString dir = test::makeTempDir(m_tmp);
        m_exchange = dir + QStringLiteral("/vaha");
        QDir().mkpath(m_exchange);
        test::writeFile(
            dir + QStringLiteral("/vahaPLX.ini"),
            cp1250::encode(QStringLiteral("[VAHA]\r\ncestaVaha=%1\r\n").arg(m_exchange)));
        test::writeFile(
            dir + QStringLiteral("/sklady.txt"),
            cp1250::encode(QStringLiteral("01;Sklad Hrušovany\r\n02;Sila Kojetín\r\n")));
        QDir::setCurrent(dir); // sklady.txt and aa.txt
        m_f = std::make_unique<TicketFixture>();
        m_f->seedLookups();
        m_book = std::make_unique<lookup::TFnabadre>();
        m_form = std::make_unique<TFvstup>(m_f->context());
        m_form->setAddressBook(m_book.get());
        m_form->FormCreate(dir + u'/');
        m_boxes.clear(); // the program directory of the test has no vahaPLX.ini
    }

    void cleanup() {
        QCOMPARE(m_boxes.take().size(), 0);
        QVERIFY(!QApplication::overrideCursor());
    }

    void controlPositions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("position");
        const QList<std::pair<const char*, QPoint>> controls{
            {"DBDateEdit1", {78, 30}},       {"DBRadioGroup1", {78, 68}},
            {"EditICO", {368, 32}},          {"DBEditSmlouva", {448, 166}},
            {"DBEdit16", {78, 216}},         {"DBEdit12", {78, 257}},
            {"DBEdit13", {222, 257}},        {"DBEdit14", {78, 284}},
            {"EditBrutto", {506, 440}},      {"EditTara", {618, 440}},
            {"EditNetto", {733, 440}},       {"DBEdit22", {846, 440}},
            {"DBEdit27", {81, 366}},         {"DBEdit28", {147, 366}},
            {"DBEdit29", {221, 366}},        {"DBEdit30", {293, 366}},
            {"DBEdit31", {373, 369}},        {"RxDBComboBoxSklad", {564, 364}},
            {"DBEdit4", {639, 32}},          {"DBEdit6", {513, 32}},
            {"DBEdit7", {448, 59}},          {"DBEdit8", {448, 81}},
            {"DBEdit9", {448, 105}},         {"DBEdit10", {448, 132}},
            {"DBEdit11", {506, 132}},        {"DBEdit15", {402, 488}},
            {"DBEdit17", {167, 216}},        {"DBEdit18", {310, 216}},
            {"EditPOZNAMKA", {82, 488}},     {"DBEdit24", {82, 525}},
            {"DBEditCertifikat", {82, 430}}, {"ButtonA", {455, 28}},
            {"Button2", {594, 523}},         {"Button1", {715, 523}},
            {"ButtonK", {120, 214}},         {"Button5", {506, 409}},
            {"Button6", {618, 409}},         {"Button7", {733, 409}},
            {"CheckBox1", {273, 432}},       {"ButtonS", {578, 164}},
            {"DBEdit1", {240, 32}}};
        for (const auto& [name, pos] : controls)
            QTest::newRow(name) << QString::fromLatin1(name) << pos;
    }
    void controlPositions() {
        QFETCH(QString, name);
        QFETCH(QPoint, position);
        QWidget* w = child(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), m_form.get());
        QCOMPARE(w->pos(), position);
    }

    void windowTabOrderAndFonts() {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Fvstup"));
        QCOMPARE(m_form->size(), QSize(944, 561));
        QCOMPARE(m_form->font().pointSize(), 8);
        for (const char* name : {"EditBrutto", "EditTara", "EditNetto", "DBEdit22",
                                 "RxDBComboBoxSklad", "ButtonK", "ButtonS"})
            QCOMPARE(child(QString::fromLatin1(name))->font().pointSize(), 10);
        QCOMPARE(u().DBRadioGroup1_0->font().pointSize(), 11);
        QCOMPARE(u().DBRadioGroup1_0->text(), QStringLiteral("01  příjem"));
        QCOMPARE(u().DBRadioGroup1_1->text(), QStringLiteral("04  výdej"));
        QCOMPARE(u().RxDBComboBoxSklad->maxVisibleItems(), 10);
        QVERIFY(u().RxDBComboBoxSklad->isEditable());
        QCOMPARE(u().RxDBComboBoxSklad->itemText(1), QStringLiteral("02 Sila Kojetín"));
        const QStringList expected{
            "DBDateEdit1",   "DBRadioGroup1_0", "DBRadioGroup1_1",   "EditICO",
            "DBEditSmlouva", "DBEdit16",        "DBEdit12",          "DBEdit13",
            "DBEdit14",      "EditBrutto",      "EditTara",          "EditNetto",
            "DBEdit22",      "DBEdit27",        "DBEdit28",          "DBEdit29",
            "DBEdit30",      "DBEdit31",        "RxDBComboBoxSklad", "DBEdit4",
            "DBEdit6",       "DBEdit7",         "DBEdit8",           "DBEdit9",
            "DBEdit10",      "DBEdit11",        "DBEdit15",          "DBEdit17",
            "DBEdit18",      "EditPOZNAMKA",    "DBEdit24",          "DBEditCertifikat",
            "ButtonA",       "Button2",         "Button1",           "ButtonK",
            "Button5",       "Button6",         "Button7",           "CheckBox1",
            "ButtonS",       "DBEdit1"};
        QStringList order;
        QWidget* w = u().DBDateEdit1;
        do {
            if (expected.contains(w->objectName()) && !order.contains(w->objectName()))
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != u().DBDateEdit1);
        QCOMPARE(order, expected);
        for (const char* name : {"DBEdit4", "DBEdit6", "DBEdit7", "DBEdit17", "DBEdit1"})
            QVERIFY(child<QLineEdit>(QString::fromLatin1(name))->isReadOnly());
    }

    void newTicketAndTypeChoice() {
        openForm(0);
        QCOMPARE(u().DBEdit1->text(), QStringLiteral("0"));
        QVERIFY(!u().DBRadioGroup1_0->isChecked()); // "01  příjem" is no stored type
        QVERIFY(!u().DBRadioGroup1_1->isChecked());
        QCOMPARE(u().DBDateEdit1->date(), QDate::currentDate());
        QVERIFY(u().Button5->isEnabled());
        QVERIFY(logic().ZTable1.isNull(u"datbrutto"));
        // On the button's text, where a radio button takes clicks.
        QTest::mouseClick(u().DBRadioGroup1_1, Qt::LeftButton, {},
                          QPoint(10, u().DBRadioGroup1_1->height() / 2));
        QCOMPARE(logic().ZTable1.asString(u"typdokladu"), typeDepartureStored());
        u().RxDBComboBoxSklad->setFocus();
        u().RxDBComboBoxSklad->setCurrentIndex(0);
        QTest::mouseClick(u().Button2, Qt::LeftButton); // "Uložit"
        QVERIFY(!m_form->isVisible());
        QVERIFY(QFileInfo::exists(QStringLiteral("aa.txt")));
        const int id = int(m_f->db().scalarInt("select max(id) from vazlab"));
        QCOMPARE(m_f->ticket(id, "concat(cislodokla,'|',sklad)"),
                 QStringLiteral("1|01 Sklad Hrušovany"));

        openForm(id);
        QVERIFY(u().DBRadioGroup1_1->isChecked());
        QCOMPARE(u().DBEdit1->text(), QStringLiteral("1"));
        QCOMPARE(u().RxDBComboBoxSklad->currentIndex(), 0);
        QTest::mouseClick(u().Button1, Qt::LeftButton); // "Zpět"
        QVERIFY(!m_form->isVisible());
        QVERIFY(!logic().ZTable1.isOpen());
    }

    void partnerByIcoOnLeaving_data() {
        QTest::addColumn<QString>("ico");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("partner");
        QTest::newRow("known: to Smlouva") << "12345678"
                                           << "DBEdit16"
                                           << "DBEditSmlouva"
                                           << "Zemědělská a.s.";
        QTest::newRow("unknown: back") << "99999999"
                                       << "DBEdit16"
                                       << "EditICO"
                                       << "";
        QTest::newRow("towards Zpět") << "12345678"
                                      << "Button1"
                                      << "Button1"
                                      << "";
        QTest::newRow("towards Adresář") << "12345678"
                                         << "ButtonA"
                                         << "ButtonA"
                                         << "";
        QTest::newRow("empty") << ""
                               << "DBEdit16"
                               << "DBEdit16"
                               << "";
    }
    void partnerByIcoOnLeaving() {
        QFETCH(QString, ico);
        QFETCH(QString, next);
        QFETCH(QString, focus);
        QFETCH(QString, partner);
        openForm(0);
        u().EditICO->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(u().EditICO, ico);
        child(next)->setFocus(Qt::TabFocusReason);
        QCOMPARE(focusName(), focus);
        QCOMPARE(logic().ZTable1.asString(u"ico"), ico); // written before the look-up ran
        QCOMPARE(u().DBEdit7->text(), partner);
    }

    void addressBook() {
        openForm(0);
        u().EditICO->setFocus();
        QTimer::singleShot(0, this, [this] {
            QVERIFY(QApplication::activeModalWidget() == m_book.get());
            QVERIFY(m_book->zqAdre()->locate(u"ico", QStringLiteral("87654321")));
            m_book->suitempButton1Click(); // "Převzít"
        });
        QTest::mouseClick(u().ButtonA, Qt::LeftButton);
        QCOMPARE(u().DBEdit7->text(), QStringLiteral("Mlýn Kojetín s.r.o."));
        QCOMPARE(u().DBEdit6->text(), QStringLiteral("CZ87654321"));
        QCOMPARE(u().DBEdit9->text(), QStringLiteral("Mlýnská 12"));
        reactivate();
        QCOMPARE(focusName(), QStringLiteral("DBEditSmlouva"));

        QTimer::singleShot(0, this, [this] {
            QVERIFY(m_book->zqAdre()->locate(u"ico", QStringLiteral("12345678")));
            m_book->suitempButton2Click(); // "Zpět": nothing taken
        });
        QTest::mouseClick(u().ButtonA, Qt::LeftButton);
        QCOMPARE(u().DBEdit7->text(), QStringLiteral("Mlýn Kojetín s.r.o."));
    }

    void commodity() {
        openForm(0);
        u().DBEdit16->setFocus();
        QTest::keyClicks(u().DBEdit16, "RE");
        QTest::keyClick(u().DBEdit16, Qt::Key_Tab);
        QCOMPARE(u().DBEdit18->text(), QStringLiteral("Řepka olejná"));
        QCOMPARE(focusName(), QStringLiteral("DBEdit12"));

        // "K": the search dialog over the commodity list, accepted.
        QTimer::singleShot(0, this, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edtemplate"));
            typeText(edit, QStringLiteral("pšen"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btok")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(u().ButtonK, Qt::LeftButton);
        QCOMPARE(logic().ZTable1.asString(u"komodita") + u'|' +
                     logic().ZTable1.asString(u"nomenkla"),
                 QStringLiteral("PS|1001"));
        QCOMPARE(u().DBEdit18->text(), QStringLiteral("Pšenice potravinářská"));
        reactivate();
        QCOMPARE(focusName(), QStringLiteral("DBEdit12"));

        // Cancelled: the focus goes to the commodity code.
        QTimer::singleShot(0, this, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btcancel")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(u().ButtonK, Qt::LeftButton);
        reactivate();
        QCOMPARE(focusName(), QStringLiteral("DBEdit16"));
        QCOMPARE(logic().ZTable1.asString(u"komodita"), QStringLiteral("PS"));
    }

    void weightsTypedEnterAndCertificate() {
        openForm(0);
        u().EditBrutto->setFocus();
        u().EditBrutto->selectAll();
        QTest::keyClick(u().EditBrutto, Qt::Key_3);
        QVERIFY(!logic().ZTable1.isNull(u"datbrutto")); // one digit stamps
        QTest::keyClicks(u().EditBrutto, "0,5");
        QTest::keyClick(u().EditBrutto, Qt::Key_Return); // Enter moves on as Tab does
        QCOMPARE(focusName(), QStringLiteral("EditTara"));
        QCOMPARE(u().EditNetto->text(), QStringLiteral("0")); // no tare yet
        u().EditTara->selectAll();
        QTest::keyClicks(u().EditTara, "10,2");
        QTest::keyClick(u().EditTara, Qt::Key_Tab);
        QCOMPARE(u().EditNetto->text(), QStringLiteral("20,3"));
        QCOMPARE(logic().ZTable1.displayText(u"netto"), QStringLiteral("20,3"));

        u().DBEdit12->setFocus();
        QTest::keyClick(u().DBEdit12, Qt::Key_Enter);
        QCOMPARE(focusName(), QStringLiteral("DBEdit13"));
        u().CheckBox1->setFocus();
        QTest::keyClick(u().CheckBox1, Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("CheckBox1"));
        QTest::mouseClick(u().CheckBox1, Qt::LeftButton);
        QCOMPARE(u().DBEditCertifikat->text(), siteCertificate());
        QTest::mouseClick(u().CheckBox1, Qt::LeftButton);
        QCOMPARE(u().DBEditCertifikat->text(), QString());
        QVERIFY(!logic().ZTable1.isNull(u"certifikat"));

        // Text that is no number keeps the focus in its edit, with the conversion error.
        u().EditNetto->setFocus();
        QTest::keyClicks(u().EditNetto, "x");
        u().DBEdit22->setFocus();
        QTRY_COMPARE(focusName(), QStringLiteral("EditNetto"));
        const auto boxes = m_boxes.take();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains(QStringLiteral("is not a valid floating point value")));
        u().EditNetto->setText(QStringLiteral("20,3"));
        QTest::mouseClick(u().Button1, Qt::LeftButton);
    }

    void readingsFromTheWindow() {
        openForm(0);
        // "Netto" without an answer.
        QTest::mouseClick(u().Button7, Qt::LeftButton);
        auto boxes = m_boxes.take();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].kind, ui::BoxKind::Information);
        QCOMPARE(boxes[0].caption, QStringLiteral("Vážní listy PLX"));
        QCOMPARE(boxes[0].text, QStringLiteral("Váha není autorizována."));

        // "Brutto" with the answer there: the weight shows, the focus stays on the button.
        test::writeFile(m_exchange + QStringLiteral("/aktualni.log"), "1;2;30500|A1\r\n");
        u().Button5->setFocus();
        QTest::mouseClick(u().Button5, Qt::LeftButton);
        QCOMPARE(u().EditBrutto->text(), QStringLiteral("30,5"));
        QCOMPARE(focusName(), QStringLiteral("Button5"));

        // "Tara" pending while the user leaves with "Zpět": nothing is written afterwards.
        QTimer::singleShot(150, this, [this] { QTest::mouseClick(u().Button1, Qt::LeftButton); });
        QTimer::singleShot(250, this, [this] {
            test::writeFile(m_exchange + QStringLiteral("/aktualni.log"), "1;2;10200\r\n");
        });
        QTest::mouseClick(u().Button6, Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        QVERIFY(QFileInfo::exists(m_exchange + QStringLiteral("/aktualni.log")));
        QCOMPARE(m_f->working("tara"), QStringLiteral("0.0000"));
        QFile::remove(m_exchange + QStringLiteral("/aktualni.log"));
    }

    void refusedAndDisabled() {
        // An invalid workstation number: the form does not open, nothing is sent.
        m_f->context().workstation = QStringLiteral("3;x");
        m_f->statements.clear();
        QCOMPARE(m_form->exec(), int(QDialog::Rejected));
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_f->statements, QStringList());
        QCOMPARE(m_boxes.take().size(), 1);
        m_f->context().workstation = QStringLiteral("3");

        // Without cestaVaha the three scale buttons cannot be pressed.
        QTemporaryDir empty;
        test::writeFile(empty.path() + QStringLiteral("/vahaPLX.ini"), "[VAHA]\r\n");
        m_form->FormCreate(empty.path() + u'/');
        QVERIFY(!u().Button5->isEnabled());
        QVERIFY(!u().Button6->isEnabled());
        QVERIFY(!u().Button7->isEnabled());
    }
};

QTEST_MAIN(TestEntryForm)
#include "tst_entry_form.moc"
