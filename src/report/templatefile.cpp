#include "report/templatefile.h"

#include "util/error.h"
#include "util/fileutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>
#include <span>

namespace vaha::report {
namespace {

QString number(double v) {
    QString s = QString::number(v, 'f', 3);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    return s == QStringLiteral("-0") ? QStringLiteral("0") : s;
}

// Limits of what a template may hold: lengths in millimetres (a page of ten metres), font
// sizes in points.
constexpr double kMaxLength = 10000;
constexpr double kMaxFontSize = 1000;

// The first character that an XML file cannot carry (control characters other than tab and
// line breaks, U+FFFE, U+FFFF, a surrogate without its pair), or -1. Text pasted from a word
// processor brings such characters (a manual line break there is U+000B).
qsizetype firstUnwritable(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        const bool control = c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        if (control || c == 0xFFFE || c == 0xFFFF || QChar::isSurrogate(c))
            return i;
    }
    return -1;
}

QString codePoint(QChar c) {
    return QStringLiteral("U+%1").arg(QString::number(c.unicode(), 16).toUpper(), 4, u'0');
}

// Refuses, before anything is written, a template that the file could not hold.
void requireWritable(const ReportTemplate& report) {
    auto check = [](QStringView text, const QString& owner) {
        const qsizetype i = firstUnwritable(text);
        if (i >= 0) {
            throw Error(QStringLiteral("Šablonu nelze uložit: %1 obsahuje znak %2, který soubor "
                                       "šablony neunese. Opravte text a uložte znovu.")
                            .arg(owner, codePoint(text[i])));
        }
    };
    check(report.title, QStringLiteral("titulek sestavy"));
    for (const Variable& v : report.variables) {
        check(v.name, QStringLiteral("proměnná"));
        check(v.value, QStringLiteral("proměnná %1").arg(v.name));
    }
    for (const Page& p : report.pages) {
        check(p.name, QStringLiteral("stránka"));
        for (const Band& b : p.bands) {
            check(b.name, QStringLiteral("pás"));
            for (const TextObject& t : b.objects) {
                const QString owner = QStringLiteral("objekt %1").arg(t.name);
                for (const QString* text : {&t.name, &t.text, &t.font.family, &t.format})
                    check(*text, owner);
            }
        }
    }
}

// The words of the enumerated attributes, in the order of the enumerations' values.
constexpr QStringView kOrientationWords[] = {u"portrait", u"landscape"};
constexpr QStringView kHAlignWords[] = {u"left", u"center", u"right"};
constexpr QStringView kVAlignWords[] = {u"top", u"center", u"bottom"};

QString boolText(bool v) {
    return v ? QStringLiteral("true") : QStringLiteral("false");
}

class Reader {
public:
    Reader(const QByteArray& xml, const QString& fileName) : m_xml(xml), m_fileName(fileName) {}

    ReportTemplate read() {
        ReportTemplate report;
        const bool element = m_xml.readNextStartElement();
        check();
        if (!element || m_xml.name() != u"report")
            fail(QStringLiteral("soubor není šablona sestavy (chybí prvek <report>)"));
        report.title = text("title");
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"preview")
                readPreview(report.preview);
            else if (m_xml.name() == u"variables")
                readVariables(report.variables);
            else if (m_xml.name() == u"page")
                report.pages.push_back(readPage());
            else
                unknownElement();
        }
        check();
        return report;
    }

private:
    [[noreturn]] void fail(const QString& what) {
        const QString where = m_fileName.isEmpty() ? QStringLiteral("Šablona sestavy")
                                                   : QStringLiteral("Šablona %1").arg(m_fileName);
        throw Error(QStringLiteral("%1: %2 (řádek %3).").arg(where, what).arg(m_xml.lineNumber()));
    }

    void check() {
        if (m_xml.hasError())
            fail(m_xml.errorString());
    }

    // Element text with every line break as '\n'. The file's own breaks arrive so already; a
    // carriage return written as "&#13;" would otherwise be saved back as a raw one, which the
    // next reading turns into '\n', so the designer's save would change the text.
    QString elementText() {
        QString text = m_xml.readElementText();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
        return writable(text);
    }

    [[noreturn]] void unknownElement() {
        fail(QStringLiteral("neznámý prvek <%1>").arg(m_xml.name()));
    }

    QString text(const char* name, const QString& fallback = {}) {
        const QXmlStreamAttributes a = m_xml.attributes();
        const QLatin1String key(name);
        return a.hasAttribute(key) ? writable(a.value(key).toString()) : fallback;
    }

    // What was read must be writable again, or the designer's save could not keep it.
    QString writable(const QString& text) {
        const qsizetype i = firstUnwritable(text);
        if (i >= 0)
            fail(QStringLiteral("znak %1 nepatří do šablony").arg(codePoint(text[i])));
        return text;
    }

    // A number within [min, max]; "nan", "inf" and values beyond the range are refused, so no
    // length, size or whole number of a damaged file reaches the layout or the printer.
    double real(const char* name, double fallback, double min = -kMaxLength,
                double max = kMaxLength) {
        const QXmlStreamAttributes a = m_xml.attributes();
        const QLatin1String key(name);
        if (!a.hasAttribute(key))
            return fallback;
        bool ok = false;
        const double v = a.value(key).toDouble(&ok);
        if (!ok || !std::isfinite(v))
            fail(QStringLiteral("%1=\"%2\" není číslo").arg(key, a.value(key)));
        if (v < min || v > max) {
            fail(QStringLiteral("%1=\"%2\" je mimo rozsah %3 až %4")
                     .arg(key, a.value(key), number(min), number(max)));
        }
        return v;
    }

    int whole(const char* name, int fallback, int min, int max) {
        return int(real(name, fallback, min, max));
    }

    bool flag(const char* name, bool fallback) {
        const QString v = text(name);
        if (v.isEmpty())
            return fallback;
        if (v == u"true" || v == u"1")
            return true;
        if (v == u"false" || v == u"0")
            return false;
        fail(QStringLiteral("%1=\"%2\" není true ani false").arg(QLatin1String(name), v));
    }

    // An attribute that names one of `words`: the index of the word, `fallback` when the
    // attribute is missing.
    int keyword(const char* name, std::span<const QStringView> words, int fallback) {
        const QString v = text(name, words[std::size_t(fallback)].toString());
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (v == words[i])
                return int(i);
        }
        QStringList choices;
        for (const QStringView word : words.first(words.size() - 1))
            choices << word.toString();
        fail(QStringLiteral("%1=\"%2\" není %3 ani %4")
                 .arg(QLatin1String(name), v, choices.join(QStringLiteral(", ")),
                      words.back().toString()));
    }

    void readPreview(PreviewSettings& preview) {
        preview.maximized = flag("maximized", preview.maximized);
        preview.zoom = whole("zoom", preview.zoom, 1, 10000);
        m_xml.skipCurrentElement();
    }

    void readVariables(std::vector<Variable>& variables) {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != u"variable")
                unknownElement();
            Variable v;
            v.name = text("name");
            if (v.name.isEmpty())
                fail(QStringLiteral("proměnná bez jména"));
            v.value = elementText();
            check();
            variables.push_back(v);
        }
    }

    Page readPage() {
        Page page;
        page.name = text("name");
        page.paper = whole("paper", page.paper, 0, 65535);
        page.orientation =
            Orientation(keyword("orientation", kOrientationWords, int(page.orientation)));
        QSizeF size = paper::portraitSize(page.paper);
        if (size.isEmpty())
            size = {210, 297};
        if (page.orientation == Orientation::Landscape)
            size.transpose();
        page.width = real("width", size.width());
        page.height = real("height", size.height());
        page.marginLeft = real("margin-left", page.marginLeft);
        page.marginTop = real("margin-top", page.marginTop);
        page.marginRight = real("margin-right", page.marginRight);
        page.marginBottom = real("margin-bottom", page.marginBottom);
        if (page.width <= 0 || page.height <= 0)
            fail(QStringLiteral("stránka musí mít kladnou šířku i výšku"));
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != u"band")
                unknownElement();
            page.bands.push_back(readBand());
        }
        return page;
    }

    Band readBand() {
        Band band;
        const QString type = text("type");
        if (type == u"ReportTitle")
            band.type = BandType::ReportTitle;
        else if (type == u"PageFooter")
            band.type = BandType::PageFooter;
        else
            fail(QStringLiteral("neznámý druh pásu \"%1\"").arg(type));
        band.name = text("name");
        band.height = real("height", 0);
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != u"text")
                unknownElement();
            band.objects.push_back(readText());
        }
        return band;
    }

    TextObject readText() {
        TextObject t;
        t.name = text("name");
        t.left = real("left", 0);
        t.top = real("top", 0);
        t.width = real("width", 0);
        t.height = real("height", 0);
        t.font.family = text("font", t.font.family);
        t.font.size = real("size", t.font.size, -kMaxFontSize, kMaxFontSize);
        if (t.font.size <= 0)
            fail(QStringLiteral("velikost písma musí být kladná"));
        const QStringList style = text("style").split(u' ', Qt::SkipEmptyParts);
        for (const QString& s : style) {
            if (s == u"bold")
                t.font.bold = true;
            else if (s == u"italic")
                t.font.italic = true;
            else if (s == u"underline")
                t.font.underline = true;
            else
                fail(QStringLiteral("neznámý řez písma \"%1\"").arg(s));
        }
        t.hAlign = HAlign(keyword("align", kHAlignWords, int(t.hAlign)));
        t.vAlign = VAlign(keyword("valign", kVAlignWords, int(t.vAlign)));
        t.wordWrap = flag("wordwrap", t.wordWrap);
        t.expressions = flag("expressions", t.expressions);
        t.format = text("format");
        t.text = elementText();
        check();
        return t;
    }

    QXmlStreamReader m_xml;
    QString m_fileName;
};

void writeText(QXmlStreamWriter& w, const TextObject& t) {
    w.writeStartElement(QStringLiteral("text"));
    w.writeAttribute(QStringLiteral("name"), t.name);
    w.writeAttribute(QStringLiteral("left"), number(t.left));
    w.writeAttribute(QStringLiteral("top"), number(t.top));
    w.writeAttribute(QStringLiteral("width"), number(t.width));
    w.writeAttribute(QStringLiteral("height"), number(t.height));
    w.writeAttribute(QStringLiteral("font"), t.font.family);
    w.writeAttribute(QStringLiteral("size"), number(t.font.size));
    QStringList style;
    if (t.font.bold)
        style << QStringLiteral("bold");
    if (t.font.italic)
        style << QStringLiteral("italic");
    if (t.font.underline)
        style << QStringLiteral("underline");
    if (!style.isEmpty())
        w.writeAttribute(QStringLiteral("style"), style.join(u' '));
    if (t.hAlign != HAlign::Left)
        w.writeAttribute(QStringLiteral("align"), kHAlignWords[int(t.hAlign)].toString());
    if (t.vAlign != VAlign::Top)
        w.writeAttribute(QStringLiteral("valign"), kVAlignWords[int(t.vAlign)].toString());
    if (!t.wordWrap)
        w.writeAttribute(QStringLiteral("wordwrap"), boolText(false));
    if (!t.expressions)
        w.writeAttribute(QStringLiteral("expressions"), boolText(false));
    if (!t.format.isEmpty())
        w.writeAttribute(QStringLiteral("format"), t.format);
    w.writeCharacters(t.text);
    w.writeEndElement();
}

} // namespace

ReportTemplate parseTemplate(const QByteArray& xml, const QString& fileName) {
    return Reader(xml, fileName).read();
}

QByteArray serializeTemplate(const ReportTemplate& report) {
    requireWritable(report);
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("report"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    if (!report.title.isEmpty())
        w.writeAttribute(QStringLiteral("title"), report.title);
    w.writeEmptyElement(QStringLiteral("preview"));
    w.writeAttribute(QStringLiteral("maximized"), boolText(report.preview.maximized));
    w.writeAttribute(QStringLiteral("zoom"), QString::number(report.preview.zoom));
    if (!report.variables.empty()) {
        w.writeStartElement(QStringLiteral("variables"));
        for (const Variable& v : report.variables) {
            w.writeStartElement(QStringLiteral("variable"));
            w.writeAttribute(QStringLiteral("name"), v.name);
            w.writeCharacters(v.value);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    for (const Page& p : report.pages) {
        w.writeStartElement(QStringLiteral("page"));
        w.writeAttribute(QStringLiteral("name"), p.name);
        w.writeAttribute(QStringLiteral("paper"), QString::number(p.paper));
        w.writeAttribute(QStringLiteral("orientation"),
                         kOrientationWords[int(p.orientation)].toString());
        w.writeAttribute(QStringLiteral("width"), number(p.width));
        w.writeAttribute(QStringLiteral("height"), number(p.height));
        w.writeAttribute(QStringLiteral("margin-left"), number(p.marginLeft));
        w.writeAttribute(QStringLiteral("margin-top"), number(p.marginTop));
        w.writeAttribute(QStringLiteral("margin-right"), number(p.marginRight));
        w.writeAttribute(QStringLiteral("margin-bottom"), number(p.marginBottom));
        for (const Band& b : p.bands) {
            w.writeStartElement(QStringLiteral("band"));
            w.writeAttribute(QStringLiteral("type"), bandTypeName(b.type));
            w.writeAttribute(QStringLiteral("name"), b.name);
            w.writeAttribute(QStringLiteral("height"), number(b.height));
            for (const TextObject& t : b.objects)
                writeText(w, t);
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

ReportTemplate readTemplateFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(fileErrorText(FileFailure::Open, path, file.errorString()));
    return parseTemplate(file.readAll(), path);
}

void writeTemplateFile(const QString& path, const ReportTemplate& report) {
    QDir().mkpath(QFileInfo(path).absolutePath()); // a site without fr3/ yet
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(serializeTemplate(report)) < 0 ||
        !file.commit()) {
        throw Error(fileErrorText(FileFailure::Create, path, file.errorString()));
    }
}

} // namespace vaha::report
