#include "report/templatefile.h"

#include "util/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

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
        report.title = m_xml.attributes().value(QLatin1String("title")).toString();
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

    [[noreturn]] void unknownElement() {
        fail(QStringLiteral("neznámý prvek <%1>").arg(m_xml.name()));
    }

    QString text(const char* name, const QString& fallback = {}) {
        const QXmlStreamAttributes a = m_xml.attributes();
        const QLatin1String key(name);
        return a.hasAttribute(key) ? a.value(key).toString() : fallback;
    }

    double real(const char* name, double fallback) {
        const QXmlStreamAttributes a = m_xml.attributes();
        const QLatin1String key(name);
        if (!a.hasAttribute(key))
            return fallback;
        bool ok = false;
        const double v = a.value(key).toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("%1=\"%2\" není číslo").arg(key, a.value(key)));
        return v;
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

    void readPreview(PreviewSettings& preview) {
        preview.maximized = flag("maximized", preview.maximized);
        preview.zoom = int(real("zoom", preview.zoom));
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
            v.value = m_xml.readElementText();
            check();
            variables.push_back(v);
        }
    }

    Page readPage() {
        Page page;
        page.name = text("name");
        page.paper = int(real("paper", page.paper));
        const QString orientation = text("orientation", QStringLiteral("portrait"));
        if (orientation == u"landscape")
            page.orientation = Orientation::Landscape;
        else if (orientation != u"portrait")
            fail(QStringLiteral("orientation=\"%1\" není portrait ani landscape").arg(orientation));
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
        t.font.size = real("size", t.font.size);
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
        const QString align = text("align", QStringLiteral("left"));
        if (align == u"left")
            t.hAlign = HAlign::Left;
        else if (align == u"center")
            t.hAlign = HAlign::Center;
        else if (align == u"right")
            t.hAlign = HAlign::Right;
        else
            fail(QStringLiteral("align=\"%1\" není left, center ani right").arg(align));
        const QString valign = text("valign", QStringLiteral("top"));
        if (valign == u"top")
            t.vAlign = VAlign::Top;
        else if (valign == u"center")
            t.vAlign = VAlign::Center;
        else if (valign == u"bottom")
            t.vAlign = VAlign::Bottom;
        else
            fail(QStringLiteral("valign=\"%1\" není top, center ani bottom").arg(valign));
        t.wordWrap = flag("wordwrap", t.wordWrap);
        t.expressions = flag("expressions", t.expressions);
        t.format = text("format");
        t.text = m_xml.readElementText();
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
    if (t.hAlign != HAlign::Left) {
        w.writeAttribute(QStringLiteral("align"), t.hAlign == HAlign::Center
                                                      ? QStringLiteral("center")
                                                      : QStringLiteral("right"));
    }
    if (t.vAlign != VAlign::Top) {
        w.writeAttribute(QStringLiteral("valign"), t.vAlign == VAlign::Center
                                                       ? QStringLiteral("center")
                                                       : QStringLiteral("bottom"));
    }
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
        w.writeAttribute(QStringLiteral("orientation"), p.orientation == Orientation::Landscape
                                                            ? QStringLiteral("landscape")
                                                            : QStringLiteral("portrait"));
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
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return parseTemplate(file.readAll(), path);
}

void writeTemplateFile(const QString& path, const ReportTemplate& report) {
    QDir().mkpath(QFileInfo(path).absolutePath()); // a site without fr3/ yet
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(serializeTemplate(report)) < 0 ||
        !file.commit()) {
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    }
}

} // namespace vaha::report
