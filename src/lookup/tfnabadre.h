#pragma once

#include "db/query.h"

#include <QDialog>

namespace vaha::lookup {

// The address book "Adresář": pick a partner from table adresar.
//
// Contract with the caller: set Tag to 0; give zqAdre() the main window's connection; exec();
// afterwards Tag > 0 means a partner was taken and the current row of zqAdre() is that partner.
// zqAdre() is opened at the first showing (or earlier by a lookup of the caller) and never
// closed: its rows, sort order and current row survive between showings.
class TFnabadre : public QDialog {
    Q_OBJECT
public:
    explicit TFnabadre(QWidget* parent = nullptr);
    ~TFnabadre() override;

    int Tag = 0;
    db::Query* zqAdre() { return &m_zqAdre; }

    // "select * from adresar order by ico"
    static QStringList partnerListSql();

private:
    db::Query m_zqAdre;
};

} // namespace vaha::lookup
