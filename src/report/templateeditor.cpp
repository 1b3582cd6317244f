#include "report/templateeditor.h"

#include "util/error.h"

#include <QMarginsF>
#include <cmath>

namespace vaha::report {

double roundMm(double v) {
    const double r = std::round(v * 100) / 100;
    return r == 0 ? 0 : r; // no "-0"
}

TemplateEditor::TemplateEditor(ReportTemplate& report, QObject* parent)
    : QObject(parent), m_report(report) {}

void TemplateEditor::touch() {
    m_modified = true;
    Q_EMIT changed();
}

void TemplateEditor::ensurePage() {
    if (m_report.pages.empty()) {
        m_report.pages.push_back(newPage(QStringLiteral("Page1")));
        m_page = 0;
        touch();
    }
}

void TemplateEditor::setPageIndex(int index) {
    if (index < 0 || index >= int(m_report.pages.size()) || index == m_page)
        return;
    m_page = index;
    clearSelection();
    Q_EMIT changed();
}

const TextObject* TemplateEditor::object(const ObjectRef& ref) const {
    if (!ref.isValid() || ref.page >= int(m_report.pages.size()))
        return nullptr;
    const Page& p = m_report.pages[std::size_t(ref.page)];
    if (ref.band >= int(p.bands.size()))
        return nullptr;
    const Band& b = p.bands[std::size_t(ref.band)];
    if (ref.object >= int(b.objects.size()))
        return nullptr;
    return &b.objects[std::size_t(ref.object)];
}

TextObject* TemplateEditor::selectedObject() {
    return const_cast<TextObject*>(object(m_selection));
}

void TemplateEditor::select(const ObjectRef& ref) {
    const ObjectRef next = object(ref) ? ref : ObjectRef();
    const int band = next.isValid() ? next.band : -1;
    if (next == m_selection && band == m_band)
        return;
    m_selection = next;
    m_band = band;
    Q_EMIT selectionChanged();
}

bool TemplateEditor::selectByName(const QString& name) {
    for (int p = 0; p < int(m_report.pages.size()); ++p) {
        const Page& page = m_report.pages[std::size_t(p)];
        for (int b = 0; b < int(page.bands.size()); ++b) {
            const Band& band = page.bands[std::size_t(b)];
            for (int o = 0; o < int(band.objects.size()); ++o) {
                if (band.objects[std::size_t(o)].name.compare(name, Qt::CaseInsensitive) == 0) {
                    if (p != m_page) {
                        m_page = p;
                        Q_EMIT changed();
                    }
                    select({p, b, o});
                    return true;
                }
            }
        }
    }
    return false;
}

void TemplateEditor::selectBand(int band) {
    if (m_report.pages.empty() || band < 0 || band >= int(page().bands.size()))
        band = -1;
    if (!m_selection.isValid() && m_band == band)
        return;
    m_selection = ObjectRef();
    m_band = band;
    Q_EMIT selectionChanged();
}

void TemplateEditor::clearSelection() {
    selectBand(-1);
}

QRectF TemplateEditor::bandRectOnPage(int band) const {
    if (m_report.pages.empty() || band < 0 || band >= int(page().bands.size()))
        return {};
    return page().bandRect(page().bands[std::size_t(band)]);
}

QRectF TemplateEditor::objectRectOnPage(const ObjectRef& ref) const {
    const TextObject* o = object(ref);
    if (!o)
        return {};
    const Page& p = m_report.pages[std::size_t(ref.page)];
    return o->rect().translated(p.bandRect(p.bands[std::size_t(ref.band)]).topLeft());
}

ObjectRef TemplateEditor::objectAt(QPointF point) const {
    if (m_report.pages.empty())
        return {};
    const Page& p = page();
    // Drawn in order, so the last one under the point is on top.
    for (int b = int(p.bands.size()) - 1; b >= 0; --b) {
        const Band& band = p.bands[std::size_t(b)];
        for (int o = int(band.objects.size()) - 1; o >= 0; --o) {
            if (objectRectOnPage({m_page, b, o}).contains(point))
                return {m_page, b, o};
        }
    }
    return {};
}

int TemplateEditor::bandAt(QPointF point) const {
    if (m_report.pages.empty())
        return -1;
    for (int b = int(page().bands.size()) - 1; b >= 0; --b) {
        if (bandRectOnPage(b).contains(point))
            return b;
    }
    return -1;
}

void TemplateEditor::moveBy(double dx, double dy) {
    if (TextObject* o = selectedObject()) {
        o->left = roundMm(o->left + dx);
        o->top = roundMm(o->top + dy);
        touch();
    }
}

void TemplateEditor::resizeBy(double dw, double dh) {
    if (TextObject* o = selectedObject()) {
        o->width = roundMm(std::max(1.0, o->width + dw));
        o->height = roundMm(std::max(1.0, o->height + dh));
        touch();
    }
}

void TemplateEditor::setGeometry(const QRectF& r) {
    if (TextObject* o = selectedObject()) {
        o->left = roundMm(r.left());
        o->top = roundMm(r.top());
        o->width = roundMm(std::max(1.0, r.width()));
        o->height = roundMm(std::max(1.0, r.height()));
        touch();
    }
}

void TemplateEditor::setText(const QString& text) {
    TextObject* o = selectedObject();
    if (o && o->text != text) {
        o->text = text;
        touch();
    }
}

void TemplateEditor::setFont(const TextFont& font) {
    TextObject* o = selectedObject();
    if (o && !(o->font == font)) {
        o->font = font;
        touch();
    }
}

void TemplateEditor::setHAlign(HAlign align) {
    if (TextObject* o = selectedObject()) {
        o->hAlign = align;
        touch();
    }
}

void TemplateEditor::setVAlign(VAlign align) {
    if (TextObject* o = selectedObject()) {
        o->vAlign = align;
        touch();
    }
}

void TemplateEditor::setWordWrap(bool wrap) {
    if (TextObject* o = selectedObject()) {
        o->wordWrap = wrap;
        touch();
    }
}

void TemplateEditor::setFormat(const QString& format) {
    if (TextObject* o = selectedObject()) {
        o->format = format;
        touch();
    }
}

void TemplateEditor::rename(const QString& name) {
    TextObject* o = selectedObject();
    if (!o || o->name == name)
        return;
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw Error(QStringLiteral("Objekt musí mít jméno."));
    if (nameTaken(trimmed, o))
        throw Error(QStringLiteral("Objekt se jménem %1 už existuje.").arg(trimmed));
    o->name = trimmed;
    touch();
}

bool TemplateEditor::nameTaken(QStringView name, const TextObject* except) const {
    for (const Page& p : m_report.pages) {
        for (const Band& b : p.bands) {
            for (const TextObject& o : b.objects) {
                if (&o != except && o.name.compare(name, Qt::CaseInsensitive) == 0)
                    return true;
            }
        }
    }
    return false;
}

QString TemplateEditor::uniqueObjectName() const {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Memo%1").arg(n);
        if (!nameTaken(name, nullptr))
            return name;
    }
}

ObjectRef TemplateEditor::addTextObject(int band, QPointF point) {
    ensurePage();
    Page& p = page();
    if (p.bands.empty())
        p.bands.push_back({BandType::ReportTitle, QStringLiteral("ReportTitle1"), 50, {}});
    if (band < 0 || band >= int(p.bands.size()))
        band = 0;
    TextObject o = newTextObject(uniqueObjectName(), roundMm(point.x()), roundMm(point.y()));
    o.text = QStringLiteral("Text");
    auto& objects = p.bands[std::size_t(band)].objects;
    objects.push_back(o);
    touch();
    const ObjectRef ref{m_page, band, int(objects.size()) - 1};
    select(ref);
    return ref;
}

void TemplateEditor::deleteSelected() {
    if (!selectedObject())
        return;
    auto& objects = page().bands[std::size_t(m_selection.band)].objects;
    objects.erase(objects.begin() + m_selection.object);
    const int band = m_selection.band;
    touch();
    m_selection = ObjectRef();
    m_band = band;
    Q_EMIT selectionChanged();
}

void TemplateEditor::setBandHeight(int band, double height) {
    if (m_report.pages.empty() || band < 0 || band >= int(page().bands.size()))
        return;
    page().bands[std::size_t(band)].height = roundMm(std::max(1.0, height));
    touch();
}

void TemplateEditor::setPageSetup(int paperNumber, Orientation orientation, double width,
                                  double height, const QMarginsF& margins) {
    ensurePage();
    Page& p = page();
    p.paper = paperNumber;
    p.orientation = orientation;
    QSizeF size = paper::portraitSize(paperNumber);
    if (size.isEmpty())
        size = {width, height};
    else if (orientation == Orientation::Landscape)
        size.transpose();
    p.width = roundMm(size.width());
    p.height = roundMm(size.height());
    p.marginLeft = roundMm(margins.left());
    p.marginTop = roundMm(margins.top());
    p.marginRight = roundMm(margins.right());
    p.marginBottom = roundMm(margins.bottom());
    touch();
}

void TemplateEditor::setVariables(const std::vector<Variable>& variables) {
    if (variables == m_report.variables)
        return;
    m_report.variables = variables;
    touch();
}

} // namespace vaha::report
