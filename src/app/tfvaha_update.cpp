#include "app/tfvaha.h"

namespace vaha::app {

// "Kontrola nové verze": the update check.
void TFvaha::Kontrolanovverze1Click() {}

} // namespace vaha::app
