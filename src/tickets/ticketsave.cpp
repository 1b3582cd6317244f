#include "tickets/ticketsave.h"

#include "db/appcontext.h"
#include "db/connection.h"
#include "tickets/ticketeditor.h"
#include "util/configuration.h"
#include "util/datetimevalue.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QThread>
#include <algorithm>
#include <optional>

namespace vaha::tickets {
namespace {

int nextNumber(const db::Query& numbering) {
    return numbering.isNull(u"cido") ? 1 : int(numbering.asInt(u"cido")) + 1;
}

// The Working row's number is first read with the office's own numbering statement (its
// FOR UPDATE ends with the statement in automatic-commit mode). The number made final, inside
// the save's transaction: the year's tickets by a range of the
// datum index, under FOR UPDATE, which waits for the other saves of that year and holds them
// off until the commit. Other years are not locked.
QStringList finalNumberSql(int year) {
    // From day zero of the year, so that dates stored with a zero month or day count in
    // their year as year(datum) counts them.
    const auto day = [](int y) {
        return QStringLiteral("'%1-00-00'").arg(y, 4, 10, QLatin1Char('0'));
    };
    QString where = QStringLiteral(" where datum >= ") + day(year);
    if (year < 9999)
        where += QStringLiteral(" and datum < ") + day(year + 1);
    return {QStringLiteral("select max(cislodokla) as cido from vazlab"), where,
            QStringLiteral(" FOR UPDATE")};
}

// Two saves of one year meet at the year's last index gap: the one waiting for the range lock
// makes the other's insert wait for it in turn, and the server rolls the waiting one back. Runs
// again after a pause that grows with each attempt, so that the saves under way can finish.
void backOff(int attempt) {
    QThread::msleep(quint64(5 + QRandomGenerator::global()->bounded(10 + 15 * attempt)));
}

} // namespace

void TicketSave::run() {
    AppContext& context = m_editor.context();
    db::ScriptRunner& script = context.scriptRunner;
    validateWorkstationNumber(context.workstation);
    m_attempts = 0;
    m_number = 0;
    m_ticketId = 0;
    m_outcome = Outcome::NotSaved; // until the commit says otherwise

    script.clear();
    script.addLine(QStringLiteral("BEGIN;"));
    m_editor.stampSuppression = 1;
    const bool isNew = m_editor.Tag == 0;
    int year = 0;
    try {
        if (isNew) {
            year = YearOfDate(m_editor.ZTable1.asDateTime(u"datum"));
            db::Query& numbering = m_editor.ZQuery1;
            numbering.close();
            numbering.setSql(TicketEditor::numberingSql(year));
            // Its lock waits for the saves under way; one that holds the rows too long makes
            // the read time out, and the read is simply repeated.
            for (int attempt = 1;; ++attempt) {
                try {
                    numbering.open();
                    break;
                } catch (const db::DbError& e) {
                    if (!e.isRetryableLockError() || attempt >= kMaxAttempts)
                        throw;
                    backOff(attempt);
                }
            }
            m_number = nextNumber(numbering);
            m_editor.ZTable1.setInt(u"cislodokla", m_number);
        } else {
            script.addLine(QStringLiteral("delete from vazlab where id = ") +
                           QString::number(m_editor.Tag) + u';');
        }
        m_editor.postWorkingRow();
    } catch (const db::DbError& e) {
        if (e.isConnectionLost())
            failNotSaved(e);
        throw;
    }
    if (!isNew) {
        m_number = int(m_editor.ZTable1.asInt(u"cislodokla"));
        m_ticketId = m_editor.Tag;
    }
    m_plate = m_editor.ZTable1.asString(u"spz");
    m_columns.clear();
    for (int i = 0; i < m_editor.ZTable1.fieldCount(); ++i)
        m_columns.append(m_editor.ZTable1.field(i).name);
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
    // The commit is the script's last statement, the insert the one before it.
    const int insertIndex =
        int(db::ScriptRunner::splitStatements(context.scriptRunner.script().join(u'\n')).size()) -
        2;
    for (;;) {
        ++m_attempts;
        int done = -1; // index of the last statement that ran
        try {
            context.scriptRunner.execute([&](int index, const QString&) {
                done = index;
                if (isNew && index == insertIndex)
                    m_ticketId = int(connection.lastInsertId());
                if (!isNew || index != 0)
                    return;
                // Inside the transaction: this read holds every other save of the year back
                // until our commit, so the number stays ours.
                db::Query numbering(&connection);
                numbering.setSql(finalNumberSql(year));
                numbering.open();
                const int number = nextNumber(numbering);
                if (number != m_number) {
                    connection.execute(QStringLiteral("update ") + context.workingTable() +
                                       QStringLiteral(" set cislodokla=") +
                                       QString::number(number));
                    m_number = number;
                }
            });
            m_outcome = Outcome::Saved;
            return;
        } catch (const db::DbError& e) {
            if (e.isConnectionLost()) {
                // Never sent again: only the commit's own answer can be missing for a ticket
                // that is saved, and that is looked up, not repeated.
                if (done == insertIndex) {
                    checkAfterLostCommit(e, isNew, year);
                    return;
                }
                failNotSaved(e);
            }
            if (isNew)
                m_ticketId = 0;
            if (!e.isRetryableLockError() || m_attempts >= kMaxAttempts)
                throw;
            // The server rolled the transaction back; let the other workstation finish first.
            backOff(m_attempts);
        }
    }
}

void TicketSave::failNotSaved(const db::DbError& lost) {
    m_outcome = Outcome::NotSaved;
    if (m_editor.Tag == 0)
        m_ticketId = 0;
    throw db::DbError(QStringLiteral("Spojení s databází se při ukládání dokladu přerušilo. "
                                     "Doklad nebyl uložen.\n") +
                          lost.message(),
                      lost.code());
}

void TicketSave::checkAfterLostCommit(const db::DbError& lost, bool isNew, int year) {
    QElapsedTimer clock;
    clock.start();
    // A host that does not answer at all would hold each reconnect for the whole connect
    // timeout; no attempt may outlast the time the check has left.
    db::Connection& connection = m_editor.context().connection;
    const int connectTimeout = connection.connectTimeout();
    const auto restoreTimeout = qScopeGuard([&] { connection.setConnectTimeout(connectTimeout); });
    std::optional<bool> landed;
    for (;;) {
        const qint64 leftMs = std::max<qint64>(0, m_checkMs - clock.elapsed());
        connection.setConnectTimeout(
            int(std::max<qint64>(1, std::min<qint64>(connectTimeout, (leftMs + 999) / 1000))));
        try {
            landed = ticketLanded();
            break;
        } catch (const db::DbError& e) {
            // Any other error (the working table gone, a lock wait timeout) cannot improve by
            // waiting; the server being away can, while it restarts.
            if (!e.isConnectionLost() || clock.elapsed() >= m_checkMs)
                break;
        }
        QThread::msleep(200);
    }
    if (landed.value_or(false)) {
        m_outcome = Outcome::Confirmed;
        return;
    }
    if (landed)
        failNotSaved(lost);
    m_outcome = Outcome::Unknown;
    // The number alone may go to another ticket once the server is back, if ours is lost.
    const QString plate =
        m_plate.isEmpty() ? QString() : QStringLiteral(" (SPZ %1)").arg(m_plate.trimmed());
    const QString where =
        isNew ? QStringLiteral("Až bude databáze opět dostupná, vyhledejte v seznamu doklad "
                               "číslo %1 roku %2%3; pokud tam není, pořiďte ho znovu.")
                    .arg(m_number)
                    .arg(year)
                    .arg(plate)
              : QStringLiteral("Až bude databáze opět dostupná, ověřte v seznamu, zda doklad "
                               "číslo %1 obsahuje vaše změny; pokud ne, opravte ho znovu.")
                    .arg(m_number);
    throw db::DbError(QStringLiteral("Spojení s databází se přerušilo při potvrzování uložení "
                                     "dokladu a nepodařilo se ověřit, zda byl uložen. ") +
                          where + u'\n' + lost.message(),
                      lost.code());
}

bool TicketSave::ticketLanded() {
    if (m_ticketId == 0)
        return false;
    AppContext& context = m_editor.context();
    // The row under the ticket's id equals the posted working row in every column but the id.
    // The shared lock waits for a transaction of the lost session that the server is still
    // finishing, so the answer is final.
    db::Query q(&context.connection);
    q.addLine(QStringLiteral("select count(*) from vazlab v, ") + context.workingTable() +
              QStringLiteral(" t"));
    q.addLine(QStringLiteral(" where v.id = ") + QString::number(m_ticketId));
    for (const QString& column : std::as_const(m_columns)) {
        if (column.compare(u"id", Qt::CaseInsensitive) == 0)
            continue;
        const QString c = db::Connection::quoteIdentifier(column);
        q.addLine(QStringLiteral(" and v.") + c + QStringLiteral(" <=> t.") + c);
    }
    q.addLine(QStringLiteral(" lock in share mode"));
    q.open();
    return q.asInt(0) > 0;
}

} // namespace vaha::tickets
