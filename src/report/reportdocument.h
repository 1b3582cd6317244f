#pragma once

#include "report/expression.h"
#include "report/pdfexport.h"
#include "report/prepared.h"
#include "report/querydataset.h"
#include "report/template.h"

#include <QString>
#include <memory>
#include <vector>

namespace vaha::db {
class Query;
}

namespace vaha::report {

// A report without windows: the template, its file name, the data sets it reads and the
// prepared pages. The windows (preview, designer) and the command line work on this.
class ReportDocument {
public:
    ReportDocument();
    ~ReportDocument();

    // Empties the template, the file name and the prepared pages; data sets stay registered.
    void clear();
    // Empties the report, then reads the file when it exists (its path becomes the file name).
    // A missing file leaves the report empty: false, nothing raised. A file that exists but
    // cannot be read or is no template raises vaha::Error.
    bool loadFromFile(const QString& path);
    // Writes the template; the path becomes the file name. Throws when it cannot.
    void saveToFile(const QString& path);

    const QString& fileName() const { return m_fileName; }
    ReportTemplate& reportTemplate() { return m_template; }
    const ReportTemplate& reportTemplate() const { return m_template; }

    // Templates reach the query through this name; the report never opens or closes it.
    void setDataSet(const QString& name, db::Query* query);
    EvalContext context() const;
    QStringList dataSetNames() const;
    QStringList fieldNames(const QString& dataSetName) const;

    // Builds the pages from the template, replacing the previous ones. Returns the errors,
    // each naming its object; on errors no page is kept.
    QStringList prepare();
    const PreparedReport& prepared() const { return m_prepared; }

    // The prepared pages as PDF, replacing the file without asking.
    void exportPdf(const QString& path, const PdfProgress& progress = {}) const;
    PdfInfo pdfInfo() const;

private:
    ReportTemplate m_template;
    QString m_fileName;
    std::vector<std::pair<QString, std::unique_ptr<QueryDataSet>>> m_dataSets;
    PreparedReport m_prepared;
};

// Builds prepared pages from a template (exposed for the designer's and the tests' use).
// Errors are appended to `errors`, each as "Object: text".
PreparedReport prepareReport(const ReportTemplate& report, const EvalContext& context,
                             QStringList& errors);

} // namespace vaha::report
