#include "report/template.h"

#include <QSizeF>

namespace vaha::report {

void TextObject::setRect(const QRectF& r) {
    left = r.left();
    top = r.top();
    width = r.width();
    height = r.height();
}

QSizeF paper::portraitSize(int number) {
    switch (number) {
    case Letter:
        return {215.9, 279.4};
    case A3:
        return {297, 420};
    case A4:
        return {210, 297};
    case A5:
        return {148, 210};
    default:
        return {};
    }
}

QRectF Page::bandRect(const Band& band) const {
    const double top =
        band.type == BandType::PageFooter ? height - marginBottom - band.height : marginTop;
    return {marginLeft, top, bandWidth(), band.height};
}

const Variable* findVariable(const std::vector<Variable>& variables, QStringView name) {
    for (const Variable& v : variables) {
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    }
    return nullptr;
}

const Variable* ReportTemplate::variable(QStringView name) const {
    return findVariable(variables, name);
}

Page newPage(const QString& name) {
    Page page;
    page.name = name;
    const double printable = page.height - page.marginTop - page.marginBottom;
    const double footer = 10;
    page.bands.push_back({BandType::PageFooter, QStringLiteral("PageFooter1"), footer, {}});
    page.bands.insert(
        page.bands.begin(),
        Band{BandType::ReportTitle, QStringLiteral("ReportTitle1"), printable - footer - 1, {}});
    return page;
}

TextObject newTextObject(const QString& name, double left, double top) {
    TextObject object;
    object.name = name;
    object.left = left;
    object.top = top;
    object.width = 50;
    object.height = 5;
    return object;
}

QString bandTypeName(BandType type) {
    return type == BandType::PageFooter ? QStringLiteral("PageFooter")
                                        : QStringLiteral("ReportTitle");
}

} // namespace vaha::report
