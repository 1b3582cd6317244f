#pragma once

#include "tickets/ticketcolumns.h"

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class TFvstup;
}
namespace vaha {
struct AppContext;
}
namespace vaha::lookup {
class TFnabadre;
}

class QButtonGroup;

namespace vaha::tickets {

class FieldBinding;
class TicketEditor;

// The entry form "Fvstup": one weighing ticket, edited in the workstation's working table.
// The main window sets Tag (0: new ticket, else the ticket's id) and calls exec(). The logic
// lives in TicketEditor and TicketSave; the window shows the Working row through its bound
// controls and forwards focus changes and clicks.
class TFvstup : public QDialog {
    Q_OBJECT
public:
    explicit TFvstup(AppContext& context, QWidget* parent = nullptr);
    ~TFvstup() override;

    int Tag = 0;
    void setAddressBook(lookup::TFnabadre* addressBook);

    // Refuses to open (error box, nothing sent) while the workstation number is invalid.
    int exec() override;

    TicketEditor& logic() { return *m_logic; }
    Ui::TFvstup& ui() { return *m_ui; }

    // Handlers, named as the system names them. Each runs guarded when an event calls it.
    // FormCreate reads vahaPLX.ini of `programDirectory` and sklady.txt of the current
    // directory; the constructor runs it with the program's own directory.
    void FormCreate(const QString& programDirectory);
    void FormShow();
    void EditICOExit();
    void ButtonAClick();
    void ButtonKClick();
    void DBEdit16Exit();
    void EditBruttoChange();
    void EditTaraChange();
    void EditBruttoExit();
    void EditTaraExit();
    void CheckBox1Click();
    void Button1Click();
    void FormClose();
    void Button2Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void bindControls();
    void connectHandlers();
    void readWeight(Weight w);
    bool enterAsTab(QWidget* focused);
    void controlLeft(QWidget* control);

    AppContext& m_context;
    std::unique_ptr<Ui::TFvstup> m_ui;
    std::unique_ptr<TicketEditor> m_logic;
    std::unique_ptr<FieldBinding> m_binding;
    QButtonGroup* m_typeGroup = nullptr;
    QPointer<lookup::TFnabadre> m_addressBook;
};

} // namespace vaha::tickets
