#pragma once

#include "app/ticketlist.h"
#include "db/query.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

namespace Ui {
class TFvaha;
}
namespace vaha {
struct AppContext;
}
namespace vaha::report {
class Report;
}
namespace vaha::tickets {
class TFvstup;
}

namespace vaha::app {

// The main window "Fvaha": the filtered list of weighing tickets, the buttons that open the
// entry form and the delivery note, and the menu. It owns the connection and the other
// things of AppContext; closing it ends the program.
class TFvaha : public QMainWindow {
    Q_OBJECT
public:
    explicit TFvaha(AppContext& context, QWidget* parent = nullptr);
    ~TFvaha() override;

    void setEntryForm(tickets::TFvstup* entryForm);

    AppContext& context() { return m_context; }
    TicketList& list() { return m_list; }
    db::Query& ZQuery2() { return m_zquery2; }
    report::Report& frxReport1() { return *m_report; }
    QString sharedConfigPath() const { return m_sharedConfigPath; }
    void setSharedConfigPath(const QString& path) { m_sharedConfigPath = path; }

    // Handlers, named as the system names them. Each runs guarded when an event calls it.
    void FormShow();
    void udelejSQL();
    void CheckBox1Click();
    void CheckBox2Click();
    void DateEdit1Change();
    void Button1Click();
    void Button3Click();
    void suiDBGrid1DblClick();
    void Button4Click();
    void Kontrolanovverze1Click();
    void Opravdu1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setUpGrid();

    AppContext& m_context;
    std::unique_ptr<Ui::TFvaha> m_ui;
    TicketList m_list;
    db::Query m_zquery2;
    std::unique_ptr<report::Report> m_report;
    QPointer<tickets::TFvstup> m_entryForm;
    QString m_sharedConfigPath;
    bool m_shown = false;
};

} // namespace vaha::app
