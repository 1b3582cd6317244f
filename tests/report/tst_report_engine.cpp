// The report engine without a database: values in brackets, the template file, layout rules
// and the designer's editing logic.
#include "report/expression.h"
#include "report/layout.h"
#include "report/templateeditor.h"
#include "report/templatefile.h"
#include "support/testdatabase.h"
#include "util/error.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace vaha;
using namespace vaha::report;

namespace {

// One row of values, as a query's current row offers them.
class RowDataSet : public DataSet {
public:
    std::vector<std::pair<QString, Value>> values;
    QStringList fieldNames() const override {
        QStringList names;
        for (const auto& v : values)
            names << v.first;
        return names;
    }
    std::optional<Value> field(QStringView name) const override {
        for (const auto& v : values) {
            if (v.first.compare(name, Qt::CaseInsensitive) == 0)
                return v.second;
        }
        return std::nullopt;
    }
};

QString sourceTemplate() {
    return vaha::test::TestDatabase::sourceDir() + QStringLiteral("/fr3/vaha1.fr3");
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT
    RowDataSet m_row;
    std::vector<Variable> m_variables{{QStringLiteral("cer1"), QStringLiteral("EU-ISCC-1")},
                                      {QStringLiteral("kamm"), QStringLiteral("[ne výraz]")}};
    EvalContext m_context;

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        m_row.values = {
            {QStringLiteral("NETTO"), Value::ofNumber(20300)},
            {QStringLiteral("CISLODOKLA"), Value::ofNumber(15)},
            {QStringLiteral("DATUM"), Value::ofDate(toDateTimeValue(QDate(2024, 5, 7)))},
            {QStringLiteral("DATBRUTTO"),
             Value::ofDateTime(toDateTimeValue(QDateTime(QDate(2024, 5, 7), QTime(6, 5, 9))))},
            {QStringLiteral("NAZEVOSIVA"), Value::ofText(QStringLiteral("Pšenice potravinářská"))},
            {QStringLiteral("POSTA"), Value::null()},
        };
        m_context.dataSets = {{QStringLiteral("frxDBDataset1"), &m_row}};
        m_context.variables = &m_variables;
    }

    void printedValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("printed");
        auto row = [](const char* name, const char* text, const char* format, const char* out) {
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(format)
                                << QString::fromUtf8(out);
        };
        row("quantity in tonnes", "[frxDBDataset1.\"NETTO\" / 1000] t", "", "20,3 t");
        row("angle-bracket column", "[<frxDBDataset1.\"NETTO\">/1000]", "", "20,3");
        row("names ignore case", "[FRXdbDATASET1.\"netto\"]", "", "20300");
        row("integer column", "č. [frxDBDataset1.\"CISLODOKLA\"]", "", "č. 15");
        row("no fixed decimals", "[1/3]", "", "0,333333333333333");
        row("precedence, parentheses", "[(1 + 2) * 3 - 4 / 8]", "", "8,5");
        row("negative", "[-frxDBDataset1.\"NETTO\" / 1000]", "", "-20,3");
        row("date in format", "[frxDBDataset1.\"DATUM\"]", "dd.mm.yyyy", "07.05.2024");
        row("short date format", "[frxDBDataset1.\"DATUM\"]", "d.m.yy", "7.5.24");
        row("regional date", "[frxDBDataset1.\"DATUM\"]", "", "07.05.2024");
        row("moment in format", "[frxDBDataset1.\"DATBRUTTO\"]", "dd.mm.yyyy hh:nn:ss",
            "07.05.2024 06:05:09");
        row("quoted format text", "[frxDBDataset1.\"DATUM\"]", "'dne' d.m.", "dne 7.5.");
        row("regional moment", "[frxDBDataset1.\"DATBRUTTO\"]", "", "07.05.2024 6:05:09");
        row("Czech text", "[frxDBDataset1.\"NAZEVOSIVA\"]", "", "Pšenice potravinářská");
        row("NULL prints nothing", "<[frxDBDataset1.\"POSTA\"]>", "", "<>");
        row("variable, constant text", "[cer1] / [kamm]", "", "EU-ISCC-1 / [ne výraz]");
        row("text joins", "['O''Brien ' + frxDBDataset1.\"CISLODOKLA\"]", "", "O'Brien 15");
        row("no brackets", "DODACÍ LIST / DELIVERY NOTE", "", "DODACÍ LIST / DELIVERY NOTE");
        row("several values", "[cer1][cer1]", "", "EU-ISCC-1EU-ISCC-1");
    }
    void printedValues() {
        QFETCH(QString, text);
        QFETCH(QString, format);
        QFETCH(QString, printed);
        QCOMPARE(expandText(text, m_context, format), printed);
    }

    void refusedExpressions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        auto row = [](const char* name, const char* text, const char* reason) {
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(reason);
        };
        row("unknown variable", "[cer9]", "neznámá proměnná \"cer9\"");
        row("unknown data set", "[frxDBDataset2.\"NETTO\"]", "neznámá datová sada");
        row("unknown column", "[frxDBDataset1.\"NETO\"]", "nemá sloupec \"NETO\"");
        // A ']' inside the quotes does not end the value: the column "A]" is asked for.
        row("bracket inside quotes", "[frxDBDataset1.\"A]\" + 1]x", "nemá sloupec \"A]\"");
        row("column without quotes", "[frxDBDataset1.NETTO]", "do uvozovek");
        row("unclosed bracket", "Množství [cer1", "chybí ']'");
        row("division by zero", "[frxDBDataset1.\"NETTO\" / 0]", "dělení nulou");
        row("text times number", "['a' * 2]", "potřebuje čísla");
        row("dangling operator", "[1 +]", "předčasně");
        row("empty brackets", "[]", "prázdný výraz");
        row("trailing garbage", "[1 2]", "nečekaný znak");
    }
    void refusedExpressions() {
        QFETCH(QString, text);
        QFETCH(QString, reason);
        try {
            expandText(text, m_context, {});
            QFAIL("accepted");
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
    }

    void templateFileRoundTrip() {
        const ReportTemplate original = readTemplateFile(sourceTemplate());
        QCOMPARE(original.pages.size(), std::size_t(1));
        QCOMPARE(original.pages[0].bands.size(), std::size_t(2));
        QCOMPARE(original.pages[0].bands[0].objects.size(), std::size_t(41));
        // Everything survives writing and reading: texts with their blanks and lines, fonts,
        // alignment, formats and the variables.
        const ReportTemplate again = parseTemplate(serializeTemplate(original));
        QVERIFY(again == original);
        const TextObject& transport = original.pages[0].bands[0].objects[29];
        QVERIFY(transport.text.startsWith(
            QStringLiteral("Způsob přepravy a vzdálenost (je-li vyžadována) /    \nMean")));
        // A carriage return written as a character reference is a line break like the others,
        // so the designer's save does not change the text.
        const ReportTemplate cr = parseTemplate(
            "<report><variables><variable name=\"v\">a&#13;b&#13;&#10;c</variable></variables>"
            "</report>");
        QCOMPARE(cr.variables.at(0).value, QStringLiteral("a\nb\nc"));
        QVERIFY(parseTemplate(serializeTemplate(cr)) == cr);
    }

    void templateFileErrors_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not XML") << QByteArray("DODACÍ LIST") << QStringLiteral("řádek 1");
        QTest::newRow("other root") << QByteArray("<fastreport/>") << QStringLiteral("<report>");
        QTest::newRow("bad number")
            << QByteArray("<report>\n<page width=\"2l0\"/></report>") << QStringLiteral("řádek 2");
        QTest::newRow("bad alignment")
            << QByteArray("<report><page><band type=\"ReportTitle\"><text align=\"middle\"/>"
                          "</band></page></report>")
            << QStringLiteral("align=\"middle\"");
        QTest::newRow("unknown band")
            << QByteArray("<report><page><band type=\"MasterData\"/></page></report>")
            << QStringLiteral("MasterData");
        QTest::newRow("number that is none") << QByteArray("<report><page width=\"nan\"/></report>")
                                             << QStringLiteral("width=\"nan\" není číslo");
        QTest::newRow("zoom beyond any whole number")
            << QByteArray("<report><preview zoom=\"1e70\"/></report>")
            << QStringLiteral("zoom=\"1e70\" je mimo rozsah 1 až 10000");
        QTest::newRow("font size beyond any printer")
            << QByteArray("<report><page><band type=\"ReportTitle\"><text size=\"1e300\"/>"
                          "</band></page></report>")
            << QStringLiteral("size=\"1e300\" je mimo rozsah");
        QTest::newRow("unclosed") << QByteArray(
                                         "<report><variables><variable name=\"a\">x</variables>")
                                  << QStringLiteral("Šablona");
    }
    void templateFileErrors() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, reason);
        try {
            parseTemplate(xml);
            QFAIL("accepted");
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
    }

    // Text pasted from a word processor may hold U+000B (its manual line break), which no XML
    // file can carry: the save refuses it and the file on disk stays as it was. A file that
    // brings such a character is refused when read.
    void unwritableTextKeepsTheFile() {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/vaha1.fr3");
        ReportTemplate report = readTemplateFile(sourceTemplate());
        writeTemplateFile(path, report);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        report.pages[0].bands[0].objects[0].text = QStringLiteral("DODACÍ\vLIST");
        try {
            writeTemplateFile(path, report);
            QFAIL("saved");
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(QStringLiteral("objekt Memo1 obsahuje znak U+000B")),
                     qPrintable(e.message()));
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QVERIFY_THROWS_EXCEPTION(
            Error, parseTemplate("<report><variables><variable name=\"a\">x&#11;y</variable>"
                                 "</variables></report>"));
        QVERIFY_THROWS_EXCEPTION(Error, parseTemplate(QByteArray("<report title=\"a\0b\"/>", 22)));
    }

    // Words wrap only where the box holds more than one line; a line wider than its box is
    // narrowed to fit, so no text is ever lost.
    void layoutRules_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("align");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("narrowed");
        const QString longText =
            QStringLiteral("Certifikační organizace / Cerification company: a ještě něco navíc");
        QTest::newRow("fits") << 60.0 << 5.0 << 0 << QStringLiteral("Krátký text") << 1 << false;
        QTest::newRow("one-line box narrows") << 40.0 << 5.0 << 0 << longText << 1 << true;
        QTest::newRow("tall box wraps") << 40.0 << 20.0 << 0 << longText << 3 << false;
        QTest::newRow("lines kept") << 60.0 << 5.0 << 1 << QStringLiteral("a\nb\nc") << 3 << false;
        QTest::newRow("long word narrows") << 20.0 << 20.0 << 2 << QString(40, u'_') << 1 << true;
    }
    void layoutRules() {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, align);
        QFETCH(QString, text);
        QFETCH(int, lines);
        QFETCH(bool, narrowed);
        TextObject o = newTextObject(QStringLiteral("Memo1"), 4, 3);
        o.width = width;
        o.height = height;
        o.hAlign = HAlign(align);
        const PreparedText p = layoutText(o, text, {10, 10});
        QCOMPARE(int(p.lines.size()), lines);
        const double left = 14 + kTextPaddingX, right = 14 + width - kTextPaddingX;
        for (const PreparedLine& line : p.lines) {
            QCOMPARE(line.hScale < 1, narrowed);
            QVERIFY(line.x >= left - 1e-6 && line.x + line.width <= right + 1e-6);
            if (o.hAlign == HAlign::Center)
                QCOMPARE(qRound((line.x + line.width / 2) * 100), qRound((left + right) / 2 * 100));
            if (o.hAlign == HAlign::Right)
                QCOMPARE(qRound((line.x + line.width) * 100), qRound(right * 100));
        }
        for (std::size_t i = 1; i < p.lines.size(); ++i)
            QVERIFY(p.lines[i].baseline > p.lines[i - 1].baseline);
    }

    void editorOperations() {
        ReportTemplate report;
        TemplateEditor editor(report);
        editor.ensurePage(); // A4 portrait, margins 10 mm
        const Page& page = report.pages.at(0);
        QCOMPARE(QSizeF(page.width, page.height), QSizeF(210, 297));
        QCOMPARE(page.marginLeft, 10.0);
        const ObjectRef a = editor.addTextObject(0, {4, 3});
        QCOMPARE(editor.selection(), a);
        QCOMPARE(editor.selectedObject()->font, TextFont()); // Arial 10 pt
        QCOMPARE(editor.selectedObject()->font.family, QStringLiteral("Arial"));
        const ObjectRef b = editor.addTextObject(0, {4, 20});
        QCOMPARE(editor.selectedObject()->name, QStringLiteral("Memo2"));

        // Hit test in page millimetres: the band starts at the top margin.
        QCOMPARE(editor.objectAt({15, 14}), a);
        QCOMPARE(editor.objectAt({15, 31}), b);
        QVERIFY(!editor.objectAt({150, 200}).isValid());

        editor.select(a);
        for (int i = 0; i < 3; ++i)
            editor.moveBy(0.1, 0); // no drift from binary fractions
        QCOMPARE(editor.selectedObject()->left, 4.3);
        editor.resizeBy(-100, 0);
        QCOMPARE(editor.selectedObject()->width, 1.0);
        QVERIFY_THROWS_EXCEPTION(Error, editor.rename(QStringLiteral("memo2")));
        QCOMPARE(editor.selectedObject()->name, QStringLiteral("Memo1"));
        editor.deleteSelected();
        QVERIFY(!editor.selection().isValid());
        QCOMPARE(report.pages[0].bands[0].objects.size(), std::size_t(1));
        // The freed name is handed out again.
        editor.addTextObject(0, {0, 0});
        QCOMPARE(editor.selectedObject()->name, QStringLiteral("Memo1"));
        QVERIFY(editor.isModified());
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_report_engine.moc"
