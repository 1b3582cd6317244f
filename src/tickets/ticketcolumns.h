#pragma once

#include <QString>

// Fixed texts of a weighing ticket as the database and the other workstations know them.
namespace vaha::tickets {

// The two stored ticket types: 30 characters each, cut as the column has always held them
// (the sixth letter of "VÁŽENl" is a lower-case l).
inline QString typeArrivalStored() {
    return QStringLiteral("01 VÁŽENl PRI PRIJEZDU / EINGA");
}
inline QString typeDepartureStored() {
    return QStringLiteral("04 VÁŽENl PRI ODJEZDU / AUSGAN");
}
// What the type choice shows; a new working row starts with the first of them.
inline QString typeArrivalShown() {
    return QStringLiteral("01  příjem");
}
inline QString typeDepartureShown() {
    return QStringLiteral("04  výdej");
}

// The site's sustainability certificate number, filled in by the "Certifikát" box.
inline QString siteCertificate() {
    return QStringLiteral("EU-ISCC-Cert-CZ208-39164502");
}

enum class Weight { Gross, Tare };

// Weight column, moment column and alibi column of a gross or tare reading.
inline QString weightColumn(Weight w) {
    return w == Weight::Gross ? QStringLiteral("brutto") : QStringLiteral("tara");
}
inline QString stampColumn(Weight w) {
    return w == Weight::Gross ? QStringLiteral("datbrutto") : QStringLiteral("dattara");
}
inline QString alibiColumn(Weight w) {
    return w == Weight::Gross ? QStringLiteral("alibibrutt") : QStringLiteral("alibitara");
}

} // namespace vaha::tickets
