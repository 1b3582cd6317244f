#include "tickets/tfvstup.h"

#include "db/appcontext.h"
#include "lookup/tfnabadre.h"

namespace vaha::tickets {

TFvstup::TFvstup(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("Fvstup"));
    setWindowTitle(QStringLiteral("Fvstup"));
}

TFvstup::~TFvstup() = default;

void TFvstup::setAddressBook(lookup::TFnabadre* addressBook) {
    m_addressBook = addressBook;
}

} // namespace vaha::tickets
