#include "app/ticketlist.h"

#include "db/appcontext.h"

namespace vaha::app {

TicketList::TicketList(AppContext& context) : ZQuery1(&context.connection) {
    ZQuery1.setObjectName(QStringLiteral("ZQuery1"));
}

QString TicketList::defaultOrderClause() {
    return QStringLiteral("order by datum DESC, cislodokla DESC");
}

QStringList TicketList::listSql(bool notClosed, bool ofDay, DateTimeValue day,
                                const QString& orderClause) {
    QStringList lines{QStringLiteral("select * from vazlab"), QStringLiteral("where 1=1")};
    if (notClosed)
        lines.append(QStringLiteral(" and (brutto=0 or tara=0)"));
    if (ofDay)
        lines.append(QStringLiteral(" and datum='") + DateToSqlText(day) + u'\'');
    lines.append(orderClause);
    return lines;
}

void TicketList::udelejSQL(bool notClosed, bool ofDay, DateTimeValue day) {
    ZQuery1.close();
    ZQuery1.clearSql();
    ZQuery1.setSql(listSql(notClosed, ofDay, day, orderClause));
    ZQuery1.open();
}

int TicketList::currentTicketId() const {
    return int(ZQuery1.asInt(u"id"));
}

QString TicketList::currentTicketIdText() const {
    return ZQuery1.asString(u"id");
}

} // namespace vaha::app
