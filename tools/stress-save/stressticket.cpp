#include "stressticket.h"

#include "db/query.h"
#include "tickets/ticketcolumns.h"
#include "tickets/ticketeditor.h"
#include "util/error.h"

namespace vaha::stress {

using tickets::TicketEditor;

QString marker(const QString& workstation, int sequence) {
    return QStringLiteral("stress %1 %2").arg(workstation).arg(sequence);
}

void fillTicket(TicketEditor& editor, db::Query& partners, const QString& workstation, int sequence,
                const QString& date) {
    db::TableEditor& row = editor.ZTable1;
    if (!date.isEmpty())
        row.setString(u"datum", date);
    row.setString(u"typdokladu",
                  sequence % 2 ? tickets::typeDepartureStored() : tickets::typeArrivalStored());
    row.setString(u"ico", QStringLiteral("12345678"));
    if (editor.partnerByIco(partners) != TicketEditor::Lookup::Found)
        throw Error(QStringLiteral("partner 12345678 is not in adresar"));
    row.setString(u"komodita", QStringLiteral("PS"));
    if (editor.commodityByCode() != TicketEditor::Lookup::Found)
        throw Error(QStringLiteral("commodity PS is not in vazlabcenik"));
    row.setString(u"certifikat3", QStringLiteral("S-%1").arg(sequence));
    row.setString(u"spz", QStringLiteral("W%1-%2").arg(workstation).arg(sequence));
    row.setString(u"vlek", QStringLiteral("V%1-%2").arg(workstation).arg(sequence));
    row.setString(u"ridic", QStringLiteral("Řidič Šťastný"));
    // Weights as the form sets them: each change stamps its moment, leaving the tare keeps
    // the net weight.
    row.setFloat(u"brutto", 30 + sequence % 10);
    editor.netWeightRule(tickets::Weight::Gross);
    row.setFloat(u"tara", 12.5);
    editor.netWeightRule(tickets::Weight::Tare);
    row.setString(u"mj", QStringLiteral("t"));
    row.setString(u"vlhkost", QStringLiteral("14.2"));
    row.setString(u"sklad", QStringLiteral("01 Sklad Kyjov"));
    row.setString(u"dodacilist", QStringLiteral("DL%1").arg(sequence));
    row.setString(u"poznamka", marker(workstation, sequence));
    row.setString(u"podpis", QStringLiteral("Vážný"));
    editor.setCertificate(true);
}

} // namespace vaha::stress
