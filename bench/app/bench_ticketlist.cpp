// The ticket list on a big table, as the main window holds it (the list query with its grid):
// each filter state's query against the mariadb client running the same statement to
// /dev/null, and the list's peak memory against the size of the raw result the server sent.
//
//   bench_ticketlist --port P [--database DB] [--host H] [--repetitions N]
// The database must hold the reference schema with tickets (tools/bench prepares one).
#include "app/ticketlist.h"
#include "db/appcontext.h"
#include "db/consql.h"
#include "harness.h"
#include "util/datetimevalue.h"
#include "util/error.h"
#include "util/widgets/datagrid.h"

#include <QApplication>
#include <QDate>
#include <cstdio>

using namespace vaha;

namespace {

constexpr double kMiB = 1048576.0;

qint64 scalar(db::Connection& connection, const QString& statement) {
    db::Query q(&connection);
    q.addLine(statement);
    q.open();
    return q.asInt(0);
}

// Bytes the server has sent on this session so far.
qint64 bytesSent(db::Connection& connection) {
    db::Query q(&connection);
    q.addLine(QStringLiteral("show session status like 'Bytes_sent'"));
    q.open();
    return q.asInt(1);
}

// The day filter on the busiest day of the table; both filters on today, as at start-up.
struct State {
    const char* name;
    bool notClosed;
    bool ofDay;
    bool today;
};
constexpr State kStates[] = {{"all", false, false, false},
                             {"not-closed", true, false, false},
                             {"day", false, true, false},
                             {"not-closed-day", true, true, true}};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList rest;
    const bench::Server server = bench::Server::fromArguments(app.arguments().mid(1), &rest);
    const int repetitions = bench::intOption(rest, QStringLiteral("--repetitions"), 7);
    try {
        AppContext context;
        context.connection.setHost(server.host);
        context.connection.setPort(server.port);
        context.connection.setDatabase(server.database);
        db::prepareSession(context.connection);
        app::TicketList list(context);
        list.orderClause = app::TicketList::defaultOrderClause();

        // The list as the main window shows it.
        ui::DataGrid grid;
        grid.setObjectName(QStringLiteral("suiDBGrid1"));
        grid.setQuery(&list.ZQuery1);
        grid.resize(1017, 350);
        grid.show();
        QApplication::processEvents();

        // The busiest day of the table, so the day filters have something to list.
        db::Query busiest(&context.connection);
        busiest.addLine(QStringLiteral(
            "select datum, count(*) n from vazlab group by datum order by n desc limit 1"));
        busiest.open();
        const DateTimeValue day = busiest.asDateTime(0);
        const qint64 onBusiest = busiest.asInt(1);
        busiest.close();
        const qint64 tickets =
            scalar(context.connection, QStringLiteral("select count(*) from vazlab"));
        bench::printInfo(QStringLiteral("tickets in vazlab: %1, busiest day %2 (%3 tickets)")
                             .arg(tickets)
                             .arg(DateToSqlText(day))
                             .arg(onBusiest));

        // Memory first, while nothing big has been held yet: the peak growth of the process
        // while the whole list is read and shown, against the bytes the server sent for it.
        // Each look at the counter adds its own answer to the next one.
        const qint64 firstLook = bytesSent(context.connection);
        const qint64 showCost = bytesSent(context.connection) - firstLook;
        const std::size_t before = bench::residentBytes();
        bench::resetPeakResident();
        const qint64 sentBefore = bytesSent(context.connection);
        list.udelejSQL(false, false, day);
        QApplication::processEvents();
        const qint64 raw = bytesSent(context.connection) - sentBefore - showCost;
        const std::size_t peak = bench::peakResidentBytes();
        const double growth = double(peak > before ? peak - before : 0);
        bench::printInfo(QStringLiteral("whole list: %1 rows, row store %2 MiB, raw result %3 MiB")
                             .arg(list.ZQuery1.recordCount())
                             .arg(double(list.ZQuery1.memoryUsage()) / kMiB, 0, 'f', 1)
                             .arg(double(raw) / kMiB, 0, 'f', 1));
        bench::printFigure("list-memory", growth / kMiB, "MiB peak growth", double(raw) / kMiB,
                           "MiB (raw result sent by the server)", "<= 1.5x");

        // What the client pays before it sends anything: start, connect, log-on.
        const double clientStart = bench::medianMs(
            [&] { bench::runClient(server, QStringLiteral("select 1;")); }, repetitions, 1);
        bench::printInfo(QStringLiteral("mariadb client start and connect alone: %1 ms")
                             .arg(clientStart, 0, 'f', 1));

        const DateTimeValue today = toDateTimeValue(QDate::currentDate());
        for (const State& s : kStates) {
            const DateTimeValue date = s.today ? today : day;
            const QString statement =
                app::TicketList::listSql(s.notClosed, s.ofDay, date, list.orderClause).join(u'\n') +
                u';';
            // In turns, so that a change of the machine's load meets both alike; the list is
            // closed before the client runs, so that it does not share memory pressure with us.
            std::vector<double> program, client;
            int rows = 0;
            for (int r = 0; r < repetitions + 1; ++r) {
                QElapsedTimer t;
                t.start();
                list.udelejSQL(s.notClosed, s.ofDay, date);
                QApplication::processEvents();
                const double p = double(t.nsecsElapsed()) / 1e6;
                rows = list.ZQuery1.recordCount();
                list.ZQuery1.close();
                t.start();
                bench::runClient(server, statement);
                const double c = double(t.nsecsElapsed()) / 1e6;
                if (r > 0) { // the first round warms up
                    program.push_back(p);
                    client.push_back(c);
                }
            }
            const double ms = bench::median(program);
            const double anchor = bench::median(client);
            // The client's start and log-on are part of its anchor; without them:
            const double net = anchor - clientStart;
            bench::printInfo(
                QStringLiteral(
                    "list-query-%1: %2 rows of %3; the client without its start %4 ms, ratio %5")
                    .arg(QString::fromLatin1(s.name))
                    .arg(rows)
                    .arg(s.ofDay ? DateToSqlText(date) : QStringLiteral("all days"))
                    .arg(net, 0, 'f', 1)
                    .arg(net > 0 ? ms / net : 0, 0, 'f', 2));
            bench::printFigure(std::string("list-query-") + s.name, ms, "ms", anchor,
                               "ms (mariadb --batch)", "<= 1.3x");
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_ticketlist: %s\n", e.what());
        return 1;
    }
    return 0;
}
