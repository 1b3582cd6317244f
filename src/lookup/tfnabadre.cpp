#include "lookup/tfnabadre.h"

namespace vaha::lookup {

TFnabadre::TFnabadre(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Fnabadre"));
    setWindowTitle(QStringLiteral("Adresář"));
    m_zqAdre.setObjectName(QStringLiteral("zqAdre"));
    m_zqAdre.setSql(partnerListSql());
}

TFnabadre::~TFnabadre() = default;

QStringList TFnabadre::partnerListSql() {
    return {QStringLiteral("select * from adresar order by ico")};
}

} // namespace vaha::lookup
