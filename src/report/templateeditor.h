#pragma once

#include "report/template.h"

#include <QObject>
#include <QPointF>
#include <QRectF>

namespace vaha::report {

// One object of a template: page, band and object index.
struct ObjectRef {
    int page = -1;
    int band = -1;
    int object = -1;
    bool isValid() const { return page >= 0 && band >= 0 && object >= 0; }
    bool operator==(const ObjectRef&) const = default;
};

// What the designer does to a template, without a screen: select, move, resize, edit, add and
// delete text objects, change bands, the page and the variables. Positions in millimetres.
class TemplateEditor : public QObject {
    Q_OBJECT
public:
    explicit TemplateEditor(ReportTemplate& report, QObject* parent = nullptr);

    ReportTemplate& report() { return m_report; }

    // The page shown; an empty report first gets a new page (A4 portrait, margins 10 mm).
    void ensurePage();
    int pageIndex() const { return m_page; }
    void setPageIndex(int index);
    Page& page() { return m_report.pages.at(std::size_t(m_page)); }
    const Page& page() const { return m_report.pages.at(std::size_t(m_page)); }

    // Selection: one object, or a band without an object.
    ObjectRef selection() const { return m_selection; }
    int selectedBand() const { return m_band; }
    TextObject* selectedObject();
    void select(const ObjectRef& ref);
    bool selectByName(const QString& name);
    void selectBand(int band);
    void clearSelection();

    // Hit tests on the shown page, in page millimetres: the topmost object, the band.
    ObjectRef objectAt(QPointF pagePoint) const;
    int bandAt(QPointF pagePoint) const;
    QRectF objectRectOnPage(const ObjectRef& ref) const;
    QRectF bandRectOnPage(int band) const;

    // Edits of the selected object (nothing happens without one).
    void moveBy(double dx, double dy);
    void resizeBy(double dw, double dh); // never below 1 mm
    void setGeometry(const QRectF& bandRect);
    void setText(const QString& text);
    void setFont(const TextFont& font);
    void setHAlign(HAlign align);
    void setVAlign(VAlign align);
    void setWordWrap(bool wrap);
    void setFormat(const QString& format);
    // Throws vaha::Error when the name is empty or another object has it.
    void rename(const QString& name);

    // A new text object (Arial 10 pt) in a band, selected; returns it.
    ObjectRef addTextObject(int band, QPointF bandPoint);
    void deleteSelected();

    void setBandHeight(int band, double height);
    void setPageSetup(int paperNumber, Orientation orientation, double width, double height,
                      const QMarginsF& margins);

    void setVariables(const std::vector<Variable>& variables);

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    QString uniqueObjectName() const;

Q_SIGNALS:
    void changed();
    void selectionChanged();

private:
    void touch();
    const TextObject* object(const ObjectRef& ref) const;
    // Whether an object other than `except` has the name, letter case ignored.
    bool nameTaken(QStringView name, const TextObject* except) const;

    ReportTemplate& m_report;
    int m_page = 0;
    ObjectRef m_selection;
    int m_band = -1;
    bool m_modified = false;
};

// Lengths as the designer keeps them: to the hundredth of a millimetre.
double roundMm(double v);

} // namespace vaha::report
