#include "db/query.h"
#include "lookup/searchlistmodel.h"
#include "lookup/tradbsearch.h"
#include "lookup/tsearchform2.h"
#include "partners.h"
#include "typing.h"
#include "util/widgets/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace vaha;
using namespace vaha::lookup;
using vaha::test::TestDatabase;
using vaha::test::typeText;

// The search dialog driven as the user drives it, over real queries: the address book's
// partners (in ico order) and the commodity list (ordered by name: Alfa, Beta, Gama).
class TestSearchForm2 : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<db::Connection> m_conn;
    std::unique_ptr<db::Query> m_partners;
    std::unique_ptr<db::Query> m_commodities;

    struct Dialog {
        std::unique_ptr<TSearchForm2> form;
        QLineEdit* edtemplate = nullptr;
        QListView* list = nullptr;
        QPushButton* btok = nullptr;
        QPushButton* btcancel = nullptr;
        QCheckBox* ckExtendedSearch = nullptr;
        QCheckBox* ckContext = nullptr;

        QStringList entries() const {
            QStringList out;
            for (int r = 0; r < form->listModel()->rowCount(); ++r)
                out << form->listModel()->index(r).data().toString();
            return out;
        }
        QString selected() const { return list->currentIndex().data().toString(); }
    };

    Dialog open(db::Query& q, const QString& field, TSearchKind kind, bool selectFields = false,
                QWidget* owner = nullptr) {
        Dialog d;
        d.form = std::make_unique<TSearchForm2>(owner, &q, QStringList{}, field, selectFields, 500,
                                                QStringLiteral("převzít"), QString(), QString());
        d.form->applySearchKind(kind);
        d.form->show();
        d.form->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(d.form.get());
        d.edtemplate = d.form->findChild<QLineEdit*>(QStringLiteral("edtemplate"));
        d.list = d.form->findChild<QListView*>(QStringLiteral("lbfindvalues"));
        d.btok = d.form->findChild<QPushButton*>(QStringLiteral("btok"));
        d.btcancel = d.form->findChild<QPushButton*>(QStringLiteral("btcancel"));
        d.ckExtendedSearch = d.form->findChild<QCheckBox*>(QStringLiteral("ckExtendedSearch"));
        d.ckContext = d.form->findChild<QCheckBox*>(QStringLiteral("ckContext"));
        return d;
    }
    QString ico(db::Query& q) { return q.asString(u"ico"); }
    static void clickEntry(QListView* list, int row) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

private Q_SLOTS:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        test::loadLookupFixture(*m_db);
        m_conn = m_db->connect();
        m_partners = std::make_unique<db::Query>(m_conn.get());
        m_partners->setSql({QStringLiteral("select * from adresar order by ico")});
        m_partners->open();
        m_commodities = std::make_unique<db::Query>(m_conn.get());
        m_commodities->setSql({QStringLiteral("SELECT * FROM vazlabcenik WHERE komodita <> ''"),
                               QStringLiteral("GROUP BY komodita"),
                               QStringLiteral("ORDER BY nazev")});
        m_commodities->open();
    }
    void init() {
        m_partners->moveTo(3);
        m_commodities->first();
    }

    void opensInPartOfTextMode() {
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext);
        QCOMPARE(d.entries(), (QStringList{"Zemědělská a.s. Kyjov", "Kabát s.r.o.",
                                           "LAB spol. s r.o.", "Novák Josef", "Řepka Agro",
                                           "Čech a syn", "Novák Josef", "Agro Šlapanice"}));
        QCOMPARE(d.list->currentIndex().row(), 0);
        QCOMPARE(d.edtemplate->text(), QString());
        QCOMPARE(ico(*m_partners), QStringLiteral("100"));
        QVERIFY(d.form->acceptIsDefault());
        QVERIFY(d.ckContext->isVisible() && d.ckContext->isChecked());
        QVERIFY(!d.form->findChild<QComboBox*>(QStringLiteral("cbFields"))->isVisible());
        QCOMPARE(d.form->windowTitle(), QStringLiteral("Hledat"));
        QCOMPARE(d.form->skinStyleName(), QStringLiteral("DeepBlue"));
        QCOMPARE(d.form->width(), 500);
        QCOMPARE(d.form->height(), 10 * (d.form->rowHeight() + 1) + 134);
        QVERIFY(d.edtemplate->hasFocus());
        // Courier New's stand-in draws every Czech letter of the list.
        const QFontInfo listFont(d.list->font());
        QCOMPARE(listFont.family(), QStringLiteral("Liberation Mono"));
        const QFontMetrics fm(d.list->font());
        for (const QString& entry : d.entries())
            for (const QChar c : entry)
                QVERIFY2(fm.inFont(c), qPrintable(entry));
    }

    void partOfTextTyping_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("ico");
        QTest::newRow("ab") << "ab" << QStringList{"Kabát s.r.o.", "LAB spol. s r.o."} << "200";
        QTest::newRow("kab finds Kabát") << "kab" << QStringList{"Kabát s.r.o."} << "200";
        QTest::newRow("ZEM finds Zemědělská")
            << "ZEM" << QStringList{"Zemědělská a.s. Kyjov"} << "100";
        QTest::newRow("řep finds Řepka") << "řep" << QStringList{"Řepka Agro"} << "500";
        QTest::newRow("duplicates")
            << "novák" << QStringList{"Novák Josef", "Novák Josef"} << "400";
    }
    void partOfTextTyping() {
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        QFETCH(QString, ico);
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext);
        typeText(d.edtemplate, typed);
        QCOMPARE(d.entries(), expected);
        QCOMPARE(d.list->currentIndex().row(), 0);
        QCOMPARE(this->ico(*m_partners), ico);
        QVERIFY(d.form->acceptIsDefault());
        // Deleting the typed text shows every entry again.
        for (int i = 0; i < typed.size(); ++i)
            QTest::keyClick(d.edtemplate, Qt::Key_Backspace);
        QCOMPARE(d.entries().size(), 8);
    }

    void nothingMatches() {
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext);
        typeText(d.edtemplate, QStringLiteral("kab"));
        typeText(d.edtemplate, QStringLiteral("xyz"));
        QVERIFY(d.entries().isEmpty());
        QVERIFY(!d.list->currentIndex().isValid());
        QVERIFY(!d.form->acceptIsDefault());
        QTest::keyClick(d.edtemplate, Qt::Key_Return); // Enter does nothing
        QVERIFY(d.form->isVisible());
        QCOMPARE(ico(*m_partners), QStringLiteral("200"));
        // The mouse still accepts, on the record the list left.
        QTest::mouseClick(d.btok, Qt::LeftButton);
        QCOMPARE(d.form->result(), int(QDialog::Accepted));
        QCOMPARE(ico(*m_partners), QStringLiteral("200"));
    }

    void prefixSearch_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("enterAccepts");
        QTest::newRow("b selects Beta") << "b"
                                        << "Beta" << false;
        QTest::newRow("c selects the nearest greater Gama") << "c"
                                                            << "Gama" << false;
        QTest::newRow("z leaves the selection") << "z"
                                                << "Alfa" << false;
        QTest::newRow("beta differs in letter case") << "beta"
                                                     << "Beta" << false;
        QTest::newRow("Beta equals the entry") << "Beta"
                                               << "Beta" << true;
    }
    void prefixSearch() {
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        QFETCH(bool, enterAccepts);
        Dialog d = open(*m_commodities, QStringLiteral("nazev"), skExtended);
        QCOMPARE(d.entries(), (QStringList{"Alfa", "Beta", "Gama"}));
        QCOMPARE(d.edtemplate->text(), QStringLiteral("Alfa")); // the first entry's text
        QVERIFY(!d.ckContext->isChecked());
        QTest::mouseClick(d.form->findChild<QPushButton*>(QStringLiteral("suiButton1")),
                          Qt::LeftButton);
        QCOMPARE(d.edtemplate->text(), QString());
        typeText(d.edtemplate, typed);
        QCOMPARE(d.selected(), selected);
        QCOMPARE(d.edtemplate->text(), typed); // the template stays as typed
        QCOMPARE(m_commodities->asString(u"nazev"), selected);
        QCOMPARE(d.form->acceptIsDefault(), enterAccepts);
        QTest::keyClick(d.edtemplate, Qt::Key_Return);
        QCOMPARE(d.form->isVisible(), !enterAccepts);
    }

    void prefixKeysAndClickTakeTheEntry() {
        Dialog d = open(*m_commodities, QStringLiteral("nazev"), skExtended);
        d.edtemplate->clear();
        typeText(d.edtemplate, QStringLiteral("b"));
        QTest::keyClick(d.edtemplate, Qt::Key_Down); // goes to the list, not the template
        QCOMPARE(d.selected(), QStringLiteral("Gama"));
        QCOMPARE(d.edtemplate->text(), QStringLiteral("Gama"));
        QCOMPARE(d.edtemplate->selectedText(), QStringLiteral("Gama"));
        QCOMPARE(m_commodities->asString(u"komodita"), QStringLiteral("G"));
        QVERIFY(d.form->acceptIsDefault());
        QTest::keyClick(d.btcancel, Qt::Key_Up); // from any control
        QCOMPARE(d.selected(), QStringLiteral("Beta"));
        typeText(d.edtemplate, QStringLiteral("beta"));
        QVERIFY(!d.form->acceptIsDefault());
        clickEntry(d.list, 1); // clicking the entry copies it into the template
        QCOMPARE(d.edtemplate->text(), QStringLiteral("Beta"));
        QVERIFY(d.form->acceptIsDefault());
        QTest::keyClick(d.list, Qt::Key_Return);
        QCOMPARE(d.form->result(), int(QDialog::Accepted));
        QCOMPARE(m_commodities->asString(u"komodita"), QStringLiteral("B"));
    }

    void switchingPartOfTextOff() {
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext);
        typeText(d.edtemplate, QStringLiteral("ab"));
        QTest::mouseClick(d.ckContext, Qt::LeftButton);
        QVERIFY(!d.ckContext->isChecked());
        QCOMPARE(d.entries().size(), 8);
        QCOMPARE(d.edtemplate->text(), QStringLiteral("Zemědělská a.s. Kyjov"));
        QCOMPARE(d.list->currentIndex().row(), 0);
        QCOMPARE(ico(*m_partners), QStringLiteral("100"));
    }

    void plainMode_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("ico");
        QTest::newRow("novák josef finds Novák Josef") << "novák josef" << true << "400";
        QTest::newRow("upper case") << "ČECH A SYN" << true << "600";
        QTest::newRow("part of a value finds nothing") << "Nov" << false << "500";
    }
    void plainMode() {
        QFETCH(QString, typed);
        QFETCH(bool, found);
        QFETCH(QString, ico);
        ui::BoxRecorder boxes;
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext);
        typeText(d.edtemplate, QStringLiteral("řep")); // the data set goes to 500
        QTest::mouseClick(d.ckExtendedSearch, Qt::LeftButton);
        QVERIFY(!d.list->isVisible() && !d.ckContext->isVisible());
        QCOMPARE(d.form->height(), 134);
        QCOMPARE(d.edtemplate->text(), QString());
        QVERIFY(d.form->acceptIsDefault());
        typeText(d.edtemplate, typed);
        QTest::keyClick(d.edtemplate, Qt::Key_Return);
        QCOMPARE(d.form->isVisible(), !found);
        QCOMPARE(this->ico(*m_partners), ico);
        if (found) {
            QVERIFY(boxes.boxes().isEmpty());
        } else {
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes()[0].kind, ui::BoxKind::NotFound);
            QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Record not found"));
            QCOMPARE(d.edtemplate->text(), typed);
        }
    }

    void cancelRestoresRecord_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("storno") << "storno";
        QTest::newRow("title bar close") << "close";
    }
    void cancelRestoresRecord() {
        QFETCH(QString, how);
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext);
        QTest::keyClick(d.edtemplate, Qt::Key_Down);
        QTest::keyClick(d.edtemplate, Qt::Key_Down);
        QCOMPARE(ico(*m_partners), QStringLiteral("300"));
        if (how == "storno")
            QTest::mouseClick(d.btcancel, Qt::LeftButton);
        else
            d.form->findChild<QToolButton*>(QStringLiteral("closeButton"))->click();
        QCOMPARE(d.form->result(), int(QDialog::Rejected));
        QCOMPARE(ico(*m_partners), QStringLiteral("400"));
    }

    void escapeDoesNothing() {
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext);
        typeText(d.edtemplate, QStringLiteral("ab"));
        QTest::keyClick(d.edtemplate, Qt::Key_Escape);
        QTest::keyClick(d.list, Qt::Key_Escape);
        QTest::keyClick(d.form.get(), Qt::Key_Escape);
        QVERIFY(d.form->isVisible());
        QCOMPARE(d.edtemplate->text(), QStringLiteral("ab"));
        QCOMPARE(ico(*m_partners), QStringLiteral("200"));
    }

    void typedCharactersFollowTheFieldType_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("number, plain: letters refused") << "id" << int(skNormal) << "1a2b"
                                                        << "12";
        QTest::newRow("number, list: refused while entries remain")
            << "id" << int(skContext) << "1a2b"
            << "12b";
        QTest::newRow("text takes anything") << "nazevpodni" << int(skNormal) << "1a-ž"
                                             << "1a-ž";
    }
    void typedCharactersFollowTheFieldType() {
        QFETCH(QString, field);
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Dialog d = open(*m_partners, field, TSearchKind(kind));
        typeText(d.edtemplate, typed);
        QCOMPARE(d.edtemplate->text(), kept);
    }

    void fieldChooserRebuildsTheList() {
        Dialog d = open(*m_partners, QStringLiteral("nazevpodni"), skContext, true);
        auto* chooser = d.form->findChild<QComboBox*>(QStringLiteral("cbFields"));
        QVERIFY(chooser->isVisible());
        QCOMPARE(chooser->currentText(), QStringLiteral("nazevpodni"));
        QCOMPARE(chooser->count(), m_partners->fieldCount());
        chooser->setCurrentIndex(chooser->findText(QStringLiteral("sidlo")));
        Q_EMIT chooser->activated(chooser->currentIndex());
        QCOMPARE(d.form->searchFieldName(), QStringLiteral("sidlo"));
        typeText(d.edtemplate, QStringLiteral("ČÁS"));
        QCOMPARE(d.entries(), QStringList{"Čáslav"});
        QCOMPARE(ico(*m_partners), QStringLiteral("600"));
    }

    // The component's field list chooses the fields offered, in its order; a name the data set
    // lacks is left out.
    void fieldListChoosesTheOfferedFields() {
        QWidget owner;
        TRaDBSearch search(&owner);
        search.DataSet = m_partners.get();
        search.SelectFields = true;
        search.Fields = {
            {QStringLiteral("sidlo")}, {QStringLiteral("nic")}, {QStringLiteral("nazevpodni")}};
        QStringList offered;
        QString current;
        bool chooserShown = false;
        QTimer::singleShot(0, this, [&] {
            auto* form = QApplication::activeModalWidget();
            QVERIFY(form);
            auto* chooser = form->findChild<QComboBox*>(QStringLiteral("cbFields"));
            chooserShown = chooser->isVisible();
            for (int i = 0; i < chooser->count(); ++i)
                offered << chooser->itemText(i);
            current = chooser->currentText();
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btcancel")),
                              Qt::LeftButton);
        });
        QVERIFY(
            !search.Execute(QStringLiteral("nazevpodni"), 600, QStringLiteral("převzít"), {}, {}));
        QVERIFY(chooserShown);
        QCOMPARE(offered, (QStringList{"sidlo", "nazevpodni"}));
        QCOMPARE(current, QStringLiteral("nazevpodni"));
    }

    void executeReturnsTheOutcome() {
        QWidget owner;
        TRaDBSearch search(&owner);
        search.SearchKind = skContext;
        // No data set, or one without fields: false, and no dialog.
        QVERIFY(
            !search.Execute(QStringLiteral("nazevpodni"), 600, QStringLiteral("převzít"), {}, {}));
        db::Query closed(m_conn.get());
        search.DataSet = &closed;
        QVERIFY(
            !search.Execute(QStringLiteral("nazevpodni"), 600, QStringLiteral("převzít"), {}, {}));

        search.DataSet = m_partners.get();
        QString caption;
        QTimer::singleShot(0, this, [&] {
            auto* form = qobject_cast<TSearchForm2*>(QApplication::activeModalWidget());
            QVERIFY(form);
            caption = form->windowTitle();
            auto* edit = form->findChild<QLineEdit*>(QStringLiteral("edtemplate"));
            typeText(edit, QStringLiteral("šlap"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QVERIFY(search.Execute(QStringLiteral("nazevpodni"), 600, QStringLiteral("převzít"), {},
                               QStringLiteral("Odběratel")));
        QCOMPARE(caption, QStringLiteral("Odběratel"));
        QCOMPARE(ico(*m_partners), QStringLiteral("800"));

        QTimer::singleShot(0, this, [&] {
            auto* form = QApplication::activeModalWidget();
            QVERIFY(form);
            QTest::keyClick(form->findChild<QLineEdit*>(QStringLiteral("edtemplate")),
                            Qt::Key_Down);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("btcancel")),
                              Qt::LeftButton);
        });
        QVERIFY(
            !search.Execute(QStringLiteral("nazevpodni"), 600, QStringLiteral("převzít"), {}, {}));
        QCOMPARE(ico(*m_partners), QStringLiteral("800"));
        QVERIFY(!m_partners->controlsDisabled());
    }
};

QTEST_MAIN(TestSearchForm2)
#include "tst_searchform2.moc"
