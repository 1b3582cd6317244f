#include "report/report.h"

#include "report/modal.h"
#include "report/tdesignerform.h"
#include "report/tpreviewform.h"
#include "util/widgets/messages.h"

namespace vaha::report {

Report::Report(QObject* parent) : QObject(parent) {}
Report::~Report() = default;

void Report::setDataSet(const QString& name, db::Query* query) {
    m_document.setDataSet(name, query);
}

bool Report::loadFromFile(const QString& path) {
    m_requested = path;
    return m_document.loadFromFile(path);
}

void Report::designReport(QWidget* parent) {
    TDesignerForm designer(m_document, m_requested, parent);
    execModal(designer);
}

bool prepareShowingErrors(ReportDocument& document, QWidget* parent) {
    const QStringList errors = document.prepare();
    if (errors.isEmpty())
        return true;
    ui::showError(parent, QStringLiteral("Sestavu nelze připravit:\n") + errors.join(u'\n'));
    return false;
}

bool Report::prepareReport(QWidget* parent) {
    return prepareShowingErrors(m_document, parent);
}

void Report::showPreparedReport(QWidget* parent) {
    TPreviewForm preview(m_document, parent);
    execModal(preview);
}

} // namespace vaha::report
