#pragma once

#include "support/testdatabase.h"

#include <QLocale>
#include <QString>

namespace vaha::test {

// Partners with Czech names, one name twice, stored in ico order 100 … 800; and three
// commodities named Alfa, Beta, Gama.
inline void loadLookupFixture(TestDatabase& db) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    db.exec(QStringLiteral(
        "insert into adresar (ico, kod_platce, kodpar, nazevpodni, sidlo, ulicecislo, psc, posta)"
        " values"
        " ('100', 'CZ100', 'P1', 'Zemědělská a.s. Kyjov', 'Kyjov', 'Nádražní 12', '69701', "
        "'Kyjov'),"
        " ('200', 'CZ200', 'P2', 'Kabát s.r.o.', 'Brno', 'Cejl 5', '60200', 'Brno'),"
        " ('300', 'CZ300', 'P3', 'LAB spol. s r.o.', 'Hodonín', 'Masarykova 1', '69501', "
        "'Hodonín'),"
        " ('400', 'CZ400', 'P4', 'Novák Josef', 'Žatec', 'Husova 7', '43801', 'Žatec'),"
        " ('500', 'CZ500', 'P5', 'Řepka Agro', 'Břeclav', 'Lidická 3', '69002', 'Břeclav'),"
        " ('600', 'CZ600', 'P6', 'Čech a syn', 'Čáslav', 'Žižkova 40', '28601', 'Čáslav'),"
        " ('700', 'CZ700', 'P7', 'Novák Josef', 'Louny', 'Pražská 2', '44001', 'Louny'),"
        " ('800', 'CZ800', 'P8', 'Agro Šlapanice', 'Šlapanice', 'Brněnská 9', '66451', "
        "'Šlapanice')"));
    db.exec(QStringLiteral("insert into vazlabcenik (komodita, nomenkla, nazev) values"
                           " ('G', '1003', 'Gama'), ('A', '1001', 'Alfa'), ('B', '1002', 'Beta'), "
                           "('', '0', 'Bez kódu')"));
}

} // namespace vaha::test
