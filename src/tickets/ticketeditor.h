#pragma once

#include "db/query.h"
#include "db/tableeditor.h"
#include "tickets/ticketcolumns.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace vaha {
struct AppContext;
}

namespace vaha::tickets {

// The logic of the entry form: the workstation's working table with its one Working row
// (ZTable1), the statements that build it, the partner and commodity look-ups, the change
// stamps, the net weight rule, the certificate and the scale readings. The window only shows
// it and forwards focus changes and clicks; a test drives it without a screen.
class TicketEditor : public QObject {
    Q_OBJECT
public:
    explicit TicketEditor(AppContext& context, QObject* parent = nullptr);
    ~TicketEditor() override;

    AppContext& context() { return m_context; }

    db::TableEditor ZTable1; // the Working row
    db::Query ZQuery1;       // the numbering statement of a save
    db::Query ZQuery2;       // drop and build the working table
    db::Query ZQueryKomo;    // the commodity list

    int Tag = 0;              // ticket id: 0 for a new ticket
    int stampSuppression = 0; // non-zero while the form itself loads, saves or closes the row

    // Creation: the scale exchange directory (cestaVaha of the program configuration file;
    // empty means no scale for the whole run) and the warehouse entries ("code name").
    // Throws when the warehouses list cannot be read, after the directory has been taken.
    void create(const QString& programConfigPath, const QString& warehousesPath);
    bool scaleEnabled() const { return !m_scaleDirectory.isEmpty(); }
    const QStringList& warehouseEntries() const { return m_warehouses; }

    // Opening: drops and rebuilds the working table (a copy of ticket Tag, or an empty copy of
    // vazlab plus one fresh row), opens the commodity list and puts the Working row into edit
    // mode. Refuses an invalid workstation number before any statement is sent.
    void open();
    // "Zpět": forgets unposted changes.
    void back();
    // Closing, however the form closes.
    void close();

    enum class Lookup { Skipped, Found, NotFound };
    // The partner whose ico equals the column's text exactly; opens the partner list on the
    // main connection first when it is closed. Skipped when the column is empty.
    Lookup partnerByIco(db::Query& partnerList);
    // Copies the current partner of the list into the Working row (after the address book).
    void takePartner(const db::Query& partnerList);
    // The commodity whose code equals the column komodita exactly. Skipped when it is empty.
    Lookup commodityByCode();
    // Copies the current row of the commodity list into the Working row.
    void takeCommodity();

    // The text of a weight edit changed while the user typed: stamps its moment.
    void weightTyped(Weight w);
    // The net weight rule, run when a weight edit is left and after a reading of that weight.
    void netWeightRule(Weight w);
    // The certificate box was clicked; `checked` is its new state.
    void setCertificate(bool checked);

    enum class Reading { Taken, NoAnswer, Abandoned };
    // "Brutto" / "Tara": request, wait (events keep running), take the answer. `busy` is
    // called with true before the wait and false after it; it must not refer to anything the
    // wait may destroy. Abandoned, with nothing written, when the ticket was closed or another
    // reading started during the wait, or when this object is gone.
    Reading readGrossOrTare(Weight w, const std::function<void(bool)>& busy = {});
    // "Netto": takes an answer that is already there and leaves it in place.
    Reading readNet();

    // Edits still holding typed text write it, then the Working row is posted.
    void postWorkingRow();

    static QStringList commodityListSql();
    static QStringList numberingSql(int year);

Q_SIGNALS:
    // Before the Working row is posted: edits still holding typed text write it now.
    void updateRecord();

private:
    void run(const QStringList& lines); // ZQuery2: close, replace the lines, execute
    void stampIfChanged(int column);
    void copyPartner(const db::Query& partnerList);

    AppContext& m_context;
    QString m_scaleDirectory;
    QString m_programConfigPath;
    QStringList m_warehouses;
    // Changes whenever a ticket is opened or closed; a reading started under one value must
    // not write under another.
    quint64 m_generation = 0;
    quint64 m_readingSerial = 0;
};

} // namespace vaha::tickets
