#pragma once

#include "db/appcontext.h"
#include "support/testdatabase.h"

#include <QStringList>
#include <memory>

namespace vaha::test {

// A test database with a few partners and commodities, and the program's context connected
// to it as the main window connects (empty SQL mode, cp1250), with workstation 3. Every
// statement the context's connection sends is recorded.
class TicketFixture {
public:
    explicit TicketFixture(const QString& tag = {});

    TestDatabase& db() { return *m_db; }
    AppContext& context() { return m_context; }
    QStringList statements; // sent through the context's connection

    // A ticket row in vazlab; returns its id.
    int insertTicket(const QString& datum, int number, const QString& extraColumns = {},
                     const QString& extraValues = {});
    // One column of the working table's only row ("" for NULL).
    QString working(const QString& column);
    QString ticket(int id, const QString& column);

    // "adresar": 12345678 Zemědělská a.s., 87654321 Mlýn Kojetín, AB12 (upper case only).
    // "vazlabcenik": PS Pšenice potravinářská, RE Řepka olejná and a row without a code.
    void seedLookups();

private:
    std::unique_ptr<TestDatabase> m_db;
    AppContext m_context;
};

// The build's tool programs (vaha-scale-sim, vaha-stress-save).
QString toolPath(const QString& name);

} // namespace vaha::test
