#include "report/reportdocument.h"

#include "report/layout.h"
#include "report/templatefile.h"
#include "util/error.h"

#include <QFileInfo>

namespace vaha::report {

PreparedReport prepareReport(const ReportTemplate& report, const EvalContext& context,
                             QStringList& errors) {
    EvalContext withVariables = context;
    withVariables.variables = &report.variables;
    PreparedReport out;
    try {
        out.title = expandText(report.title, withVariables, {});
    } catch (const Error& e) {
        errors << QStringLiteral("Titulek sestavy: %1").arg(e.message());
    }
    for (const Page& page : report.pages) {
        PreparedPage prepared;
        prepared.size = {page.width, page.height};
        for (const Band& band : page.bands) {
            const QPointF origin = page.bandRect(band).topLeft();
            for (const TextObject& object : band.objects) {
                QString text = object.text;
                if (object.expressions) {
                    try {
                        text = expandText(object.text, withVariables, object.format);
                    } catch (const Error& e) {
                        errors << QStringLiteral("%1: %2").arg(object.name, e.message());
                        continue;
                    }
                }
                prepared.texts.push_back(layoutText(object, text, origin));
            }
        }
        out.pages.push_back(std::move(prepared));
    }
    return out;
}

ReportDocument::ReportDocument() = default;
ReportDocument::~ReportDocument() = default;

void ReportDocument::clear() {
    m_template = ReportTemplate();
    m_fileName.clear();
    m_prepared = PreparedReport();
}

bool ReportDocument::loadFromFile(const QString& path) {
    clear();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    m_template = readTemplateFile(path);
    m_fileName = path;
    return true;
}

void ReportDocument::saveToFile(const QString& path) {
    writeTemplateFile(path, m_template);
    m_fileName = path;
}

void ReportDocument::setDataSet(const QString& name, db::Query* query) {
    for (auto& [existing, dataSet] : m_dataSets) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0) {
            dataSet = std::make_unique<QueryDataSet>(query);
            return;
        }
    }
    m_dataSets.emplace_back(name, std::make_unique<QueryDataSet>(query));
}

EvalContext ReportDocument::context() const {
    EvalContext context;
    for (const auto& [name, dataSet] : m_dataSets)
        context.dataSets.push_back({name, dataSet.get()});
    context.variables = &m_template.variables;
    return context;
}

QStringList ReportDocument::dataSetNames() const {
    QStringList names;
    for (const auto& entry : m_dataSets)
        names << entry.first;
    return names;
}

QStringList ReportDocument::fieldNames(const QString& dataSetName) const {
    const DataSet* dataSet = context().dataSet(dataSetName);
    return dataSet ? dataSet->fieldNames() : QStringList();
}

QStringList ReportDocument::prepare() {
    m_prepared = PreparedReport();
    QStringList errors;
    PreparedReport prepared = prepareReport(m_template, context(), errors);
    if (errors.isEmpty())
        m_prepared = std::move(prepared);
    return errors;
}

PdfInfo ReportDocument::pdfInfo() const {
    PdfInfo info;
    info.title =
        m_prepared.title.isEmpty() ? QFileInfo(m_fileName).completeBaseName() : m_prepared.title;
    return info;
}

void ReportDocument::exportPdf(const QString& path, const PdfProgress& progress) const {
    writePdfFile(path, m_prepared, pdfInfo(), progress);
}

} // namespace vaha::report
