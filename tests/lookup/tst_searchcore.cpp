#include "db/query.h"
#include "lookup/searchlistmodel.h"
#include "lookup/searchlists.h"
#include "lookup/searchrules.h"
#include "lookup/searchtext.h"
#include "partners.h"

#include <QSignalSpy>
#include <QTest>

using namespace vaha;
using namespace vaha::lookup;
using vaha::test::TestDatabase;

Q_DECLARE_METATYPE(vaha::lookup::SearchMode)

// The search's lists built from a real query, the prefix search, the part-of-text filter and
// the accept rule, without a window.
class TestSearchCore : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<db::Connection> m_conn;

    static QStringList texts(const SearchLists& lists, const std::vector<int>& shown) {
        QStringList out;
        for (int i : shown)
            out << lists.value(i);
        return out;
    }
    // The partner names in ico order, as the address book reads them.
    SearchLists partnerNames(db::Query& q) {
        q.setSql({QStringLiteral("select * from adresar order by ico")});
        q.open();
        SearchLists lists;
        lists.build(q, q.fieldIndex(u"nazevpodni"), LocaleText());
        return lists;
    }

private Q_SLOTS:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        test::loadLookupFixture(*m_db);
        m_conn = m_db->connect();
    }

    void buildKeepsDataSetOrderAndBookmarks() {
        db::Query q(m_conn.get());
        q.setSql({QStringLiteral("select * from adresar order by ico")});
        q.open();
        q.moveTo(5);
        QSignalSpy moved(&q, &db::Query::currentChanged);
        SearchLists lists;
        lists.build(q, q.fieldIndex(u"nazevpodni"), LocaleText());
        // Bound views stay still while the rows are walked and follow once at the end.
        QCOMPARE(moved.count(), 1);
        QVERIFY(!q.controlsDisabled());
        QCOMPARE(q.position(), 0);
        QCOMPARE(
            texts(lists, FilterValues(QString(), false, lists, LocaleText())),
            (QStringList{"Zemědělská a.s. Kyjov", "Kabát s.r.o.", "LAB spol. s r.o.", "Novák Josef",
                         "Řepka Agro", "Čech a syn", "Novák Josef", "Agro Šlapanice"}));
        // Each entry's bookmark leads back to its own record, also after a sort.
        q.sortBy(u"sidlo");
        QVERIFY(q.gotoBookmark(lists.bookmark(6)));
        QCOMPARE(q.asString(u"ico"), QStringLiteral("700"));
        QCOMPARE(lists.upperValue(0).toString(), QStringLiteral("ZEMĚDĚLSKÁ A.S. KYJOV"));
    }

    // The upper-cased values are searched as one text: a hit never spans two entries, and an
    // entry that grows when upper-cased (ß → SS) does not shift the entries after it.
    void partOfTextHitsStayInTheirEntry_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("across two entries") << "ab" << QStringList{"ab"};
        QTest::newRow("inside the grown entry") << "asse" << QStringList{"straße"};
        QTest::newRow("after the grown entry") << "ž" << QStringList{"Žatec"};
        QTest::newRow("twice in one entry") << "a" << QStringList{"xa", "straße", "ab", "Žatec"};
    }
    void partOfTextHitsStayInTheirEntry() {
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        db::Query q(m_conn.get());
        q.setSql(
            {QStringLiteral("select 'xa' as v union all select 'bx' union all "
                            "select 'straße' union all select 'ab' union all select 'Žatec'")});
        q.open();
        SearchLists lists;
        lists.build(q, 0, LocaleText());
        QCOMPARE(texts(lists, FilterValues(typed, true, lists, LocaleText())), expected);
    }

    void filterValues_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("partOfText");
        QTest::addColumn<QStringList>("expected");
        const QStringList all{"Zemědělská a.s. Kyjov", "Kabát s.r.o.",  "LAB spol. s r.o.",
                              "Novák Josef",           "Řepka Agro",    "Čech a syn",
                              "Novák Josef",           "Agro Šlapanice"};
        QTest::newRow("ab in any letter case")
            << "ab" << true << QStringList{"Kabát s.r.o.", "LAB spol. s r.o."};
        QTest::newRow("kab finds Kabát") << "kab" << true << QStringList{"Kabát s.r.o."};
        QTest::newRow("ZEM finds Zemědělská")
            << "ZEM" << true << QStringList{"Zemědělská a.s. Kyjov"};
        QTest::newRow("lower ř finds upper Ř") << "řep" << true << QStringList{"Řepka Agro"};
        QTest::newRow("lower š inside a word") << "ŠLAP" << true << QStringList{"Agro Šlapanice"};
        QTest::newRow("č is not c") << "čech" << true << QStringList{"Čech a syn"};
        QTest::newRow("duplicates kept")
            << "novák" << true << QStringList{"Novák Josef", "Novák Josef"};
        QTest::newRow("nothing matches") << "xyz" << true << QStringList{};
        QTest::newRow("empty text shows all") << "" << true << all;
        QTest::newRow("prefix search shows all") << "kab" << false << all;
    }
    void filterValues() {
        QFETCH(QString, typed);
        QFETCH(bool, partOfText);
        QFETCH(QStringList, expected);
        db::Query q(m_conn.get());
        const SearchLists lists = partnerNames(q);
        QCOMPARE(texts(lists, FilterValues(typed, partOfText, lists, LocaleText())), expected);
    }

    void findNearest_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("index");
        const QStringList abg{"Alfa", "Beta", "Gama"};
        QTest::newRow("b selects Beta") << abg << "b" << true << 1;
        QTest::newRow("BETA ignores case") << abg << "BETA" << true << 1;
        QTest::newRow("c is the nearest greater Gama") << abg << "c" << true << 2;
        QTest::newRow("a before everything") << abg << "a" << true << 0;
        QTest::newRow("z beyond every entry") << abg << "z" << false << 3;
        QTest::newRow("empty text") << abg << "" << false << 0;
        QTest::newRow("longer than the entry") << abg << "Betamax" << true << 2;
        QTest::newRow("empty list") << QStringList{} << "a" << false << 0;
        // Czech order: c < č < d, h < ch < i.
        const QStringList czech{"Cukr", "Čech", "Dub", "Hrách", "Chmel", "Ivan", "Žatec"};
        QTest::newRow("č after c") << czech << "č" << true << 1;
        QTest::newRow("ch after h") << czech << "ch" << true << 4;
        QTest::newRow("lower ž") << czech << "ž" << true << 6;
    }
    void findNearest() {
        QFETCH(QStringList, entries);
        QFETCH(QString, typed);
        QFETCH(bool, found);
        QFETCH(int, index);
        const LocaleText rules;
        SearchLists lists;
        for (const QString& e : entries)
            lists.append(QString::number(lists.count()), e, rules);
        const Nearest n = FindNearest(typed, lists, FilterValues({}, false, lists, rules), rules);
        QCOMPARE(n.found, found);
        if (found)
            QCOMPARE(n.index, index);
    }

    void acceptRule_data() {
        QTest::addColumn<SearchMode>("mode");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<bool>("isDefault");
        QTest::newRow("plain, always") << SearchMode::Plain << false << "x" << true;
        QTest::newRow("part of text with a selection")
            << SearchMode::PartOfText << true << "ab" << true;
        QTest::newRow("part of text, empty list")
            << SearchMode::PartOfText << false << "ab" << false;
        QTest::newRow("prefix, template equals entry")
            << SearchMode::Prefix << true << "Beta" << true;
        QTest::newRow("prefix, letter case differs")
            << SearchMode::Prefix << true << "beta" << false;
        QTest::newRow("prefix, part of the entry") << SearchMode::Prefix << true << "b" << false;
    }
    void acceptRule() {
        QFETCH(SearchMode, mode);
        QFETCH(bool, selected);
        QFETCH(QString, templateText);
        QFETCH(bool, isDefault);
        QCOMPARE(acceptIsDefault(mode, selected, templateText, selected ? "Beta" : ""), isDefault);
    }

    void layoutHeights() {
        QCOMPARE(layout::clientHeight(false, 15), 134);
        QCOMPARE(layout::clientHeight(true, 15), 10 * 16 + 134);
    }

    void modelShowsEntriesOnDisplay() {
        db::Query q(m_conn.get());
        const SearchLists lists = partnerNames(q);
        SearchListModel model(lists);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.setShown(FilterValues(QStringLiteral("agro"), true, lists, LocaleText()));
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(1).data().toString(), QStringLiteral("Agro Šlapanice"));
        QCOMPARE(model.entry(1), 7);
    }
};

QTEST_GUILESS_MAIN(TestSearchCore)
#include "tst_searchcore.moc"
