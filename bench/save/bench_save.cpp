// Saving a ticket through the program's own path (the entry form's working table, its row
// filled as a user fills it, "Uložit" with numbering, aa.txt and the save script), against the
// mariadb client sending the very statements the program sent for the same ticket.
//
//   bench_save --port P [--database DB] [--host H] [--cycles K] [--repetitions R]
//
// One cycle is what a ticket costs from "Nový" (or "Oprava") to the closed form: the working
// table dropped and made again, the commodity list, the Working row read, filled and posted,
// the number, BEGIN … commit. The client gets the statements of one cycle, recorded from the
// program's connection, K times in one script, so its own start and log-on spread over K
// cycles as the program's one connection does. Tickets the benchmark adds are deleted again.
#include "db/appcontext.h"
#include "db/consql.h"
#include "harness.h"
#include "tickets/ticketeditor.h"
#include "tickets/ticketsave.h"
#include "util/error.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace vaha;

namespace {

// What the user fills on a new ticket: partner, lorry, commodity and both weights.
void fillNewTicket(tickets::TicketEditor& editor, int serial) {
    db::TableEditor& row = editor.ZTable1;
    row.setString(u"kodpar", QStringLiteral("P000042"));
    row.setString(u"ico", QStringLiteral("10332478"));
    row.setString(u"dic", QStringLiteral("CZ10332478"));
    row.setString(u"nazevpodni", QStringLiteral("Zemědělské družstvo Novák s.r.o."));
    row.setString(u"sidlo", QStringLiteral("Kyjov"));
    row.setString(u"ulice", QStringLiteral("Hlavní 12"));
    row.setString(u"psc", QStringLiteral("69701"));
    row.setString(u"posta", QStringLiteral("Kyjov"));
    row.setString(u"spz", QStringLiteral("3B7 %1").arg(serial % 10000, 4, 10, QLatin1Char('0')));
    row.setString(u"ridic", QStringLiteral("Procházka"));
    row.setString(u"sklad", QStringLiteral("01 Sila Kyjov"));
    if (!editor.ZQueryKomo.isEmpty()) {
        editor.ZQueryKomo.first();
        editor.takeCommodity();
    }
    row.setFloat(u"brutto", 32140);
    row.setFloat(u"tara", 12080);
    editor.netWeightRule(tickets::Weight::Tare);
    row.setString(u"vlhkost", QStringLiteral("14.2"));
}

// What a typical edit changes: the tare weighed later, and the net weight with it.
void editTicket(tickets::TicketEditor& editor, int serial) {
    db::TableEditor& row = editor.ZTable1;
    row.setFloat(u"tara", 12000 + serial % 500);
    editor.netWeightRule(tickets::Weight::Tare);
}

// The statements as a client script: each ends with one ';'.
QString asScript(const QStringList& statements) {
    QString script;
    for (QString s : statements) {
        s = s.trimmed();
        while (s.endsWith(u';'))
            s.chop(1);
        script += s + QStringLiteral(";\n");
    }
    return script;
}

// A statement's first words, enough to tell it in a list of costs.
QString shortName(const QString& statement) {
    const QString flat = statement.simplified();
    if (flat.startsWith(QStringLiteral("select max(cislodokla)"), Qt::CaseInsensitive))
        return flat.contains(QStringLiteral("FOR UPDATE"), Qt::CaseInsensitive)
                   ? QStringLiteral("[number, locked]")
                   : QStringLiteral("[number]");
    return u'[' + flat.section(u' ', 0, 1) + u']';
}

struct Cycle {
    const char* name;
    std::function<void(int serial)> run;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList rest;
    const bench::Server server = bench::Server::fromArguments(app.arguments().mid(1), &rest);
    const int cycles = bench::intOption(rest, QStringLiteral("--cycles"), 20);
    const int repetitions = bench::intOption(rest, QStringLiteral("--repetitions"), 5);

    QTemporaryDir dir;
    AppContext context;
    context.connection.setHost(server.host);
    context.connection.setPort(server.port);
    context.connection.setDatabase(server.database);
    context.workstation = QStringLiteral("99");
    qint64 lastIdBefore = 0;
    int status = 0;
    try {
        // The session as the connect routine leaves it.
        db::prepareSession(context.connection);
        {
            db::Query last(&context.connection);
            last.addLine(QStringLiteral("select coalesce(max(id), 0) from vazlab"));
            last.open();
            lastIdBefore = last.asInt(0);
        }
        tickets::TicketEditor editor(context);
        tickets::TicketSave save(editor);
        save.setScriptFile(dir.filePath(QStringLiteral("aa.txt")));

        int serial = 0;
        int editedId = 0;
        const Cycle newTicket{"save-new", [&](int n) {
                                  editor.Tag = 0;
                                  editor.open();
                                  fillNewTicket(editor, n);
                                  save.run();
                                  editor.close();
                              }};
        const Cycle editedTicket{"save-edited", [&](int n) {
                                     editor.Tag = editedId;
                                     editor.open();
                                     editTicket(editor, n);
                                     save.run();
                                     editor.close();
                                 }};
        // The ticket the edits work on is one of our own.
        newTicket.run(serial++);
        {
            db::Query id(&context.connection);
            id.addLine(QStringLiteral("select max(id) from vazlab"));
            id.open();
            editedId = int(id.asInt(0));
        }

        for (const Cycle& cycle : {newTicket, editedTicket}) {
            // The statements of one cycle, recorded as sent.
            QStringList sent;
            context.connection.setStatementObserver([&](const QString& s) { sent.append(s); });
            cycle.run(serial++);
            const QString one = asScript(sent);
            QString script;
            for (int i = 0; i < cycles; ++i)
                script += one;

            // While the program runs, the moment each statement goes out: the time from one to
            // the next is that statement's cost (with the little the program does between).
            std::vector<qint64> sentAt;
            QElapsedTimer clock;
            context.connection.setStatementObserver(
                [&](const QString&) { sentAt.push_back(clock.nsecsElapsed()); });
            std::vector<std::vector<double>> perStatement(std::size_t(sent.size()));
            std::vector<double> program, client;
            for (int r = 0; r < repetitions + 1; ++r) { // the first round warms up
                clock.start();
                for (int i = 0; i < cycles; ++i) {
                    sentAt.clear();
                    cycle.run(serial++);
                    sentAt.push_back(clock.nsecsElapsed());
                    if (r > 0 && sentAt.size() == perStatement.size() + 1) {
                        for (std::size_t k = 0; k < perStatement.size(); ++k)
                            perStatement[k].push_back(double(sentAt[k + 1] - sentAt[k]) / 1e6);
                    }
                }
                const double p = double(clock.nsecsElapsed()) / 1e6 / cycles;
                QElapsedTimer t;
                t.start();
                bench::runClient(server, script);
                const double c = double(t.nsecsElapsed()) / 1e6 / cycles;
                if (r > 0) {
                    program.push_back(p);
                    client.push_back(c);
                }
            }
            context.connection.setStatementObserver({});
            QStringList costs;
            for (std::size_t k = 0; k < perStatement.size(); ++k) {
                costs.append(QStringLiteral("%1 %2")
                                 .arg(shortName(sent[qsizetype(k)]))
                                 .arg(bench::median(perStatement[k]), 0, 'f', 1));
            }
            bench::printInfo(QStringLiteral("%1: %2 statements per cycle, %3 cycles per batch")
                                 .arg(QString::fromLatin1(cycle.name))
                                 .arg(sent.size())
                                 .arg(cycles));
            bench::printInfo(QStringLiteral("%1, median ms from each statement to the next: %2")
                                 .arg(QString::fromLatin1(cycle.name), costs.join(u", ")));
            bench::printFigure(cycle.name, bench::median(program), "ms", bench::median(client),
                               "ms (mariadb client, the same statements)", "<= 1.3x");
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_save: %s\n", e.what());
        status = 1;
    }
    // Leave the data set as it was.
    try {
        context.connection.execute(QStringLiteral("delete from vazlab where id > ") +
                                   QString::number(lastIdBefore));
        context.connection.execute(QStringLiteral("drop table if exists ") +
                                   context.workingTable());
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_save: cleaning up: %s\n", e.what());
        status = 1;
    }
    return status;
}
