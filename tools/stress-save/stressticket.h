#pragma once

#include <QString>

namespace vaha::db {
class Query;
}
namespace vaha::tickets {
class TicketEditor;
}

namespace vaha::stress {

// What a stress save types into a new ticket, all derived from the workstation and the
// sequence number so that a check can tell a whole ticket from a half one. The note carries
// the marker "stress <workstation> <sequence>" that finds the ticket again.
//
// Partner 12345678 and commodity PS must exist (tools/stress-workstations seeds them).
QString marker(const QString& workstation, int sequence);
void fillTicket(tickets::TicketEditor& editor, db::Query& partners, const QString& workstation,
                int sequence, const QString& date);

} // namespace vaha::stress
