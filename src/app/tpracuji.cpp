#include "app/tpracuji.h"

#include <QLabel>

namespace vaha::app {

Tpracuji::Tpracuji(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("pracuji"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(5, 5, 236, 31);
    setFixedSize(245, 65);
}

Tpracuji::~Tpracuji() = default;

} // namespace vaha::app
