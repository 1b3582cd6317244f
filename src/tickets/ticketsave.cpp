#include "tickets/ticketsave.h"

#include "db/appcontext.h"
#include "tickets/ticketeditor.h"
#include "util/configuration.h"
#include "util/datetimevalue.h"

#include <QRandomGenerator>
#include <QThread>

namespace vaha::tickets {
namespace {

int nextNumber(const db::Query& numbering) {
    return numbering.isNull(u"cido") ? 1 : int(numbering.asInt(u"cido")) + 1;
}

} // namespace

void TicketSave::run() {
    AppContext& context = m_editor.context();
    db::ScriptRunner& script = context.scriptRunner;
    validateWorkstationNumber(context.workstation);
    m_attempts = 0;
    m_number = 0;

    script.clear();
    script.addLine(QStringLiteral("BEGIN;"));
    m_editor.stampSuppression = 1;
    const bool isNew = m_editor.Tag == 0;
    int year = 0;
    if (isNew) {
        year = YearOfDate(m_editor.ZTable1.asDateTime(u"datum"));
        db::Query& numbering = m_editor.ZQuery1;
        numbering.close();
        numbering.setSql(TicketEditor::numberingSql(year));
        numbering.open();
        m_number = nextNumber(numbering);
        m_editor.ZTable1.setInt(u"cislodokla", m_number);
    } else {
        script.addLine(QStringLiteral("delete from vazlab where id = ") +
                       QString::number(m_editor.Tag) + u';');
    }
    m_editor.postWorkingRow();
    m_editor.ZTable1.close();
    script.addLine(QStringLiteral("insert into vazlab select * from ") + context.workingTable() +
                   u';');
    script.addLine(QStringLiteral("commit;"));
    script.saveToFile(m_scriptFile);
    executeScript(isNew, year);
    script.clear();
}

void TicketSave::executeScript(bool isNew, int year) {
    AppContext& context = m_editor.context();
    db::Connection& connection = context.connection;
    for (;;) {
        ++m_attempts;
        try {
            context.scriptRunner.execute([&](int index, const QString&) {
                if (!isNew || index != 0)
                    return;
                // Inside the transaction: this read holds every other save of the year back
                // until our commit, so the number stays ours.
                db::Query numbering(&connection);
                numbering.setSql(TicketEditor::numberingSql(year));
                numbering.open();
                const int number = nextNumber(numbering);
                if (number != m_number) {
                    connection.execute(QStringLiteral("update ") + context.workingTable() +
                                       QStringLiteral(" set cislodokla=") +
                                       QString::number(number));
                    m_number = number;
                }
            });
            return;
        } catch (const db::DbError& e) {
            if (e.isConnectionLost()) {
                throw db::DbError(
                    QStringLiteral("Spojení s databází se při ukládání dokladu přerušilo. Doklad "
                                   "možná nebyl uložen: zavřete formulář a ověřte ho v seznamu "
                                   "dokladů.\n") +
                        e.message(),
                    e.code());
            }
            if (!e.isRetryableLockError() || m_attempts >= m_maxAttempts)
                throw;
            // The server rolled the transaction back; let the other workstation finish first.
            QThread::msleep(10 + QRandomGenerator::global()->bounded(40));
        }
    }
}

} // namespace vaha::tickets
