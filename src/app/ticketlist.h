#pragma once

#include "db/query.h"
#include "util/datetimevalue.h"

#include <QStringList>

namespace vaha {
struct AppContext;
}

namespace vaha::app {

// The list behind the main window: the query ZQuery1 over vazlab with its two filters and the
// list order clause.
class TicketList {
public:
    explicit TicketList(AppContext& context);

    db::Query ZQuery1;
    QString orderClause; // "order by datum DESC, cislodokla DESC" once the show sequence ran

    static QString defaultOrderClause();

    // The statement lines of one filter state, exactly as they are sent.
    static QStringList listSql(bool notClosed, bool ofDay, DateTimeValue day,
                               const QString& orderClause);

    // Closes the list, builds the statement and opens it; the first row becomes current.
    // A database error leaves the list closed and raises.
    void udelejSQL(bool notClosed, bool ofDay, DateTimeValue day);

    // The id of the current row as an integer: 0 for an empty list; raises "Field 'id' not
    // found" when the list is closed.
    int currentTicketId() const;
    // The same as text ("" for an empty list).
    QString currentTicketIdText() const;
};

} // namespace vaha::app
