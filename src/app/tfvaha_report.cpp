#include "app/tfvaha.h"
#include "report/report.h"

namespace vaha::app {

// "Náhled": the delivery note of the selected ticket.
void TFvaha::Button4Click() {}

} // namespace vaha::app
