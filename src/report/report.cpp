#include "report/report.h"

namespace vaha::report {

// Placeholder until the report engine is built.
Report::Report(QObject* parent) : QObject(parent) {}
Report::~Report() = default;
void Report::setDataSet(const QString&, db::Query*) {}
bool Report::loadFromFile(const QString&) {
    return false;
}
void Report::designReport(QWidget*) {}
bool Report::prepareReport(QWidget*) {
    return false;
}
void Report::showPreparedReport(QWidget*) {}

} // namespace vaha::report
