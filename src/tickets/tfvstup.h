#pragma once

#include <QDialog>
#include <QPointer>

namespace vaha {
struct AppContext;
}
namespace vaha::lookup {
class TFnabadre;
}

namespace vaha::tickets {

// The entry form "Fvstup": one weighing ticket, edited in the workstation's working table.
// The main window sets Tag (0: new ticket, else the ticket's id) and calls exec().
class TFvstup : public QDialog {
    Q_OBJECT
public:
    explicit TFvstup(AppContext& context, QWidget* parent = nullptr);
    ~TFvstup() override;

    int Tag = 0;
    void setAddressBook(lookup::TFnabadre* addressBook);

private:
    AppContext& m_context;
    QPointer<lookup::TFnabadre> m_addressBook;
};

} // namespace vaha::tickets
