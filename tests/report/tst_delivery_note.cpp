// The delivery note of a stored ticket, rendered through the supplied template to PDF and read
// back with poppler: every text of the layout at its place, values from the ticket, variables
// with their defaults, real text in embedded fonts, metadata naming the program.
#include "db/query.h"
#include "pdftext.h"
#include "report/deliverynote.h"
#include "report/reportdocument.h"
#include "support/testdatabase.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using namespace vaha::report;
using vaha::test::TestDatabase;

namespace {

constexpr double kMargin = 10; // page margin of the template; positions count from the band
constexpr double kTolerance = 1;

enum Align { Left, Centre };
enum Lines { OneBaselineEach, Wrapped };

} // namespace

class TestDeliveryNote : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<db::Connection> m_connection;
    QTemporaryDir m_dir;
    QString m_pdf;
    QList<test::PdfWord> m_words;

    QString sourceTemplate() const {
        return TestDatabase::sourceDir() + QStringLiteral("/fr3/vaha1.fr3");
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral(
            "insert into vazlab (id, cislodokla, datum, nazevpodni, sidlo, ulice, psc, posta, "
            "certifikat3, nazevosiva, brutto, tara, netto, certifikat) values "
            "(41, 15, '2024-05-07', 'Zemědělská společnost Čejč a.s.', 'Čejč', 'Hlavní 112', "
            "'69614', 'Čejč', 'SML-2024/017', 'Pšenice potravinářská', 32500, 12200, 20300, "
            "'EU-ISCC-Cert-CZ208-39164502')"));
        m_connection = m_db->connect();

        db::Query query(m_connection.get());
        query.setSql(deliveryNoteSql(QStringLiteral("41")));
        query.open();
        ReportDocument report;
        report.setDataSet(deliveryNoteDataSet(), &query);
        QVERIFY(report.loadFromFile(sourceTemplate()));
        const QStringList errors = report.prepare();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        QCOMPARE(report.prepared().pages.size(), std::size_t(1));
        m_pdf = m_dir.filePath(QStringLiteral("dodaci-list.pdf"));
        report.exportPdf(m_pdf);
        m_words = test::pdfWords(m_pdf);
        QVERIFY(!m_words.isEmpty());
    }

    // The reference layout, object by object, with the values of ticket 41 and the
    // template's variables.
    void everyTextAtItsPlace_data() {
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("text");
        int n = 0;
        auto row = [&n](double top, double left, double width, double height, QStringList text,
                        Align align = Left, Lines lines = OneBaselineEach) {
            QTest::addRow("%d %s", ++n, qPrintable(text.value(0).left(30)))
                << top << left << width << height << int(align) << int(lines) << text;
        };
        auto s = [](const char* text) {
            return QString::fromUtf8(text);
        };
        row(3, 4, 183, 8, {s("DODACÍ LIST / DELIVERY NOTE")}, Centre);
        row(12, 4, 183, 9,
            {s("The raw material complies with the sustainability criteria according to Art. "
               "29, 3–7 RED II"),
             s("Prodávající tímto prohlašuje, že dodané zboží je udržitelné podle požadavků RED "
               "II, článek 29, bod  3–7")},
            Centre);
        row(24, 4, 183, 23,
            {s("Identifikační číslo dílčího prohlášení – dodávky / Delivery identification "
               "number:"),
             QString(95, u'_'),
             s("Vystavovatel / Issuer – smluvní partner / Contract partner:   Vzorová firma a.s. "
               "(VZOR)"),
             s("(obchodní jméno/trading name,  sídlo firmy/ Ukázková 1, 123 45 Vzorov"),
             s("company address, company number / IČO) 12345678")});
        row(24, 129, 25, 5, {s("15")});
        row(59, 4, 60, 5, {s("Číslo certifikátu / Certificate number:")});
        row(59, 74, 72, 5, {s("EU-ISCC-Cert-CZ208-27350948")});
        row(65, 4, 67, 5, {s("Certifikační systém / Certification system:")});
        row(65, 74, 72, 5, {s("ISCC")});
        row(71, 4, 60, 5, {s("Certifikační organizace / Cerification company:")});
        row(71, 74, 72, 5, {s("Vzorová certifikace s.r.o.")});
        row(86, 4, 34, 5, {s("Příjemce / Receiver:")});
        row(86, 59, 76, 5, {s("Zemědělská společnost Čejč a.s.")});
        row(92, 59, 84, 5, {s("Čejč")});
        row(97, 4, 45, 9, {s("(obchodní jméno a adresa /"), s("trading name and adress)")});
        row(98, 59, 84, 5, {s("Hlavní 112")});
        row(104, 59, 16, 5, {s("69614")});
        row(104, 79, 73, 5, {s("Čejč")});
        row(115, 4, 60, 5, {s("Číslo smlouvy / Contract number:")});
        row(115, 111, 44, 5, {s("SML-2024/017")});
        row(121, 4, 89, 5, {s("Druh udržitelné biomasy / Kind of sustainable biomass:")});
        row(121, 111, 72, 5, {s("Pšenice potravinářská")});
        row(127, 4, 104, 5,
            {s("Množství udržitelného komodity / Quantity of sustainable product:")});
        row(127, 111, 25, 5, {s("20,3 t")});
        row(144, 4, 60, 5, {s("Původ biomasy/ Origin of biomass:")});
        row(144, 109, 25, 5, {s("CZ")});
        row(150, 4, 77, 5, {s("Hodnota emise skleníkových plynů / GHG value:")});
        row(150, 109, 75, 5, {s("290 kg CO2 eq/t - dry – wheat")});
        row(156, 4, 96, 5, {s("NUTS 2 kód (Oblast původu) / NUTS 2 code(Area of origin):")});
        row(156, 109, 75, 5, {s("CZ06")});
        row(174, 4, 119, 10,
            {s("Způsob přepravy a vzdálenost (je-li vyžadována) /"),
             s("Mean of transport and distance (if requested): nákladní auto")});
        row(186, 4, 77, 5, {s("Název dopravce/Name of transport company:")});
        row(186, 88, 82, 5, {s("doprava odběratele")});
        row(201, 4, 163, 9,
            {s("DDV for transport and distribution weren’t taken account / dílčí standardní "
               "hodnota pro emise z dopravy a distribuce bude započtena finálním výrobcem")},
            Left, Wrapped);
        row(216, 4, 70, 5, {s("Datum a místo nakládky /Date of loading:")});
        row(216, 81, 19, 5, {s("07.05.2024")});
        row(216, 102, 57, 5, {s("Ukázková 1, 123 45 Vzorov, CZ")});
        row(222, 4, 70, 5, {s("Datum a místo vykládky/Date of unloading:")});
        row(222, 81, 90, 17, {s("17.7.2020   Vzorová Lhota")});
        row(241, 4, 70, 5, {s("Místo, datum vystavení DL/ Place, date:")});
        row(241, 81, 19, 5, {s("07.05.2024")});
        row(241, 102, 25, 5, {s("Vzorov")});
    }
    void everyTextAtItsPlace() {
        QFETCH(double, top);
        QFETCH(double, left);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, align);
        QFETCH(int, lines);
        QFETCH(QStringList, text);
        // The object's box on the page, with a millimetre to spare around it.
        const QRectF box(kMargin + left, kMargin + top, width, height);
        const QRectF allowed = box.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance);
        QRectF previous;
        for (const QString& line : text) {
            // The same text may print elsewhere too (town and post office): take the one here.
            const QList<QRectF> all = test::findText(m_words, line, 1, lines == OneBaselineEach);
            QVERIFY2(!all.isEmpty(), qPrintable(QStringLiteral("missing: ") + line));
            const auto here = std::find_if(all.begin(), all.end(),
                                           [&](const QRectF& r) { return allowed.contains(r); });
            QVERIFY2(here != all.end(), qPrintable(QStringLiteral("%1 outside its box").arg(line)));
            const QRectF found = *here;
            if (previous.isNull()) {
                // The first line starts at the object's top, and at its left edge or centre.
                QVERIFY2(std::abs(found.top() - box.top()) <= kTolerance,
                         qPrintable(QString::number(found.top())));
                const double x = align == Centre ? found.center().x() : found.left();
                const double expectedX = align == Centre ? box.center().x() : box.left();
                QVERIFY2(std::abs(x - expectedX) <= kTolerance, qPrintable(QString::number(x)));
            } else {
                QVERIFY(found.top() > previous.top());
            }
            previous = found;
        }
    }

    void realTextInEmbeddedFonts() {
        const QString fonts = test::popplerOutput(QStringLiteral("pdffonts"), {m_pdf});
        const QStringList rows = fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!rows.isEmpty());
        QStringList names;
        for (const QString& row : rows) {
            const QStringList cols = row.split(u' ', Qt::SkipEmptyParts);
            names << cols.value(0);
            // name type encoding emb sub uni object ID: embedded, with a map to Unicode
            QVERIFY2(
                row.contains(QRegularExpression(QStringLiteral("\\byes\\s+(yes|no)\\s+yes\\b"))),
                qPrintable(row));
        }
        QVERIFY2(names.join(u' ').contains(QStringLiteral("LiberationSans")),
                 qPrintable(names.join(u' ')));
        QVERIFY2(names.join(u' ').contains(QStringLiteral("LiberationSans-Bold")),
                 qPrintable(names.join(u' ')));
    }

    void metadataNamesTheProgram() {
        const QString info = test::popplerOutput(QStringLiteral("pdfinfo"), {m_pdf});
        auto field = [&info](const char* name) {
            const QRegularExpression re(QStringLiteral("^%1:\\s*(.*)$").arg(QLatin1String(name)),
                                        QRegularExpression::MultilineOption);
            return re.match(info).captured(1).trimmed();
        };
        QCOMPARE(field("Title"), QStringLiteral("Dodací list 15"));
        QCOMPARE(field("Creator"), QStringLiteral("vahaPLX"));
        QCOMPARE(field("Producer"), QStringLiteral("vahaPLX"));
        QCOMPARE(field("Pages"), QStringLiteral("1"));
        QVERIFY2(field("Page size").contains(QStringLiteral("(A4)")), qPrintable(info));
        QVERIFY(!field("CreationDate").isEmpty());
    }
};

QTEST_MAIN(TestDeliveryNote)
#include "tst_delivery_note.moc"
