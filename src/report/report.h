#pragma once

#include "report/reportdocument.h"

#include <QObject>
#include <QString>

class QWidget;

namespace vaha::db {
class Query;
}

namespace vaha::report {

// The delivery-note report component of the main window (frxReport1): a template loaded from a
// file, a data set registered under a name, and the four operations the program needs.
class Report : public QObject {
    Q_OBJECT
public:
    explicit Report(QObject* parent = nullptr);
    ~Report() override;

    // The report reads the query through this name ("frxDBDataset1"); it never closes it.
    void setDataSet(const QString& name, db::Query* query);

    // Empties the report, then reads the template when the file exists (its path becomes the
    // report's file name). A missing file leaves the report empty and raises nothing; a file
    // that exists but cannot be read raises.
    bool loadFromFile(const QString& path);
    // The template designer, modal; returns when it is closed.
    void designReport(QWidget* parent);
    // Builds the pages; false (after showing the errors) when the template cannot be prepared.
    bool prepareReport(QWidget* parent);
    // The modal preview of the prepared pages.
    void showPreparedReport(QWidget* parent);

    ReportDocument& document() { return m_document; }
    const QString& fileName() const { return m_document.fileName(); }

private:
    ReportDocument m_document;
    // The path of the last load, found or not: where the designer offers to save.
    QString m_requested;
};

// Builds the document's pages; false, after showing the errors over `parent`, when the
// template cannot be prepared.
bool prepareShowingErrors(ReportDocument& document, QWidget* parent);

} // namespace vaha::report
