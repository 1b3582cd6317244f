#include "ticketfixture.h"

#include "db/consql.h"

#include <QFileInfo>

namespace vaha::test {

TicketFixture::TicketFixture(const QString& tag) : m_db(std::make_unique<TestDatabase>(tag)) {
    db::Connection& c = m_context.connection;
    c.setHost(TestDatabase::host());
    c.setPort(TestDatabase::port());
    c.setUser(QStringLiteral("root"));
    c.setDatabase(m_db->name());
    db::prepareSession(c);
    c.setStatementObserver([this](const QString& s) { statements.append(s); });
    m_context.workstation = QStringLiteral("3");
}

int TicketFixture::insertTicket(const QString& datum, int number, const QString& extraColumns,
                                const QString& extraValues) {
    m_db->exec(QStringLiteral("insert into vazlab (datum, cislodokla, typdokladu, spz%1) values "
                              "(%2, %3, '01 VÁŽENl PRI PRIJEZDU / EINGA', '1AB 2345'%4)")
                   .arg(extraColumns.isEmpty() ? QString() : u',' + extraColumns,
                        datum.isEmpty() ? QStringLiteral("NULL") : u'\'' + datum + u'\'',
                        QString::number(number),
                        extraValues.isEmpty() ? QString() : u',' + extraValues));
    return int(m_db->scalarInt(QStringLiteral("select max(id) from vazlab")));
}

QString TicketFixture::working(const QString& column) {
    return m_db->scalar(
        QStringLiteral("select ifnull(%1,'') from %2").arg(column, m_context.workingTable()));
}

QString TicketFixture::ticket(int id, const QString& column) {
    return m_db->scalar(
        QStringLiteral("select ifnull(%1,'') from vazlab where id = %2").arg(column).arg(id));
}

void TicketFixture::seedLookups() {
    m_db->exec(QStringLiteral(
        "insert into adresar (ico, kod_platce, kodpar, nazevpodni, sidlo, ulicecislo, psc, posta) "
        "values ('87654321', 'CZ87654321', 'P002', 'Mlýn Kojetín s.r.o.', 'Kojetín', "
        "'Mlýnská 12', '75201', 'Kojetín 1'), "
        "('12345678', 'CZ12345678', 'P001', 'Zemědělská a.s.', 'Hrušovany', 'Hlavní 1', "
        "'66462', 'Hrušovany u Brna'), "
        "('AB12', 'CZAB12', 'P003', 'Velká písmena', 'Brno', 'Dlouhá 3', '60200', 'Brno 2')"));
    m_db->exec(QStringLiteral(
        "insert into vazlabcenik (komodita, nomenkla, nazev, mj) values "
        "('RE', '1002', 'Řepka olejná', 't'), ('PS', '1001', 'Pšenice potravinářská', 't'), "
        "('', '9999', 'Bez kódu', 't')"));
}

QString toolPath(const QString& name) {
    const QString path = qEnvironmentVariable("VAHA_BINARY_DIR") + u'/' + name;
    if (!QFileInfo(path).isExecutable())
        throw Error(QStringLiteral("%1 is missing: build it first").arg(path));
    return path;
}

} // namespace vaha::test
