#pragma once

#include "db/query.h"
#include "db/querymodel.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TFnabadre;
}

namespace vaha::lookup {

class ApplicationHotKey;

// The address book "Adresář": pick a partner from table adresar.
//
// Contract with the caller: set Tag to 0; give zqAdre() the main window's connection; exec();
// afterwards Tag > 0 means a partner was taken and the current row of zqAdre() is that partner.
// zqAdre() is opened at the first showing (or earlier by a lookup of the caller) and never
// closed: its rows, sort order and current row survive between showings.
//
// Enter accepts and F3 sorts and searches on "Název podniku" wherever the focus is inside the
// window, but not while the search dialog is open over it.
class TFnabadre : public QDialog {
    Q_OBJECT
public:
    explicit TFnabadre(QWidget* parent = nullptr);
    ~TFnabadre() override;

    int Tag = 0;
    db::Query* zqAdre() { return &m_zqAdre; }

    // "select * from adresar order by ico"
    static QStringList partnerListSql();
    // The grid's six columns, in the order F3 counts them.
    static QList<db::GridColumn> gridColumns();

    // Handlers, named as the window names them.
    void FormShow();
    void FormClose();
    void suitempButton1Click(); // "Převzít", double click, Enter
    void suitempButton2Click(); // "Zpět"
    void suitempDBGrid1TitleClick(int column);
    void JvApplicationHotKey3HotKey(); // F3

    bool hotKeysActive() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setHotKeysActive(bool active);

    std::unique_ptr<Ui::TFnabadre> m_ui;
    db::Query m_zqAdre;
    ApplicationHotKey* m_hotKey1; // Enter
    ApplicationHotKey* m_hotKey3; // F3
};

} // namespace vaha::lookup
