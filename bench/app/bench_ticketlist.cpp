// The ticket list on a big table: each filter state's query, against the mariadb client running
// the same statement to /dev/null, and the list's memory against the raw result size.
//
//   bench_ticketlist --port P [--database DB] [--host H]
// The database must hold the reference schema with tickets (tools/bench prepares one).
#include "app/ticketlist.h"
#include "db/appcontext.h"
#include "harness.h"
#include "util/datetimevalue.h"

#include <QCoreApplication>
#include <QDate>
#include <QProcess>
#include <cstdio>

using namespace vaha;

namespace {

struct Options {
    QString host = QStringLiteral("127.0.0.1");
    QString database = QStringLiteral("bench");
    int port = 33306;
};

Options parse(const QStringList& args) {
    Options o;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--port"))
            o.port = args[i + 1].toInt();
        else if (args[i] == QStringLiteral("--database"))
            o.database = args[i + 1];
        else if (args[i] == QStringLiteral("--host"))
            o.host = args[i + 1];
    }
    return o;
}

double clientMs(const Options& o, const QString& statement) {
    return bench::medianMs([&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(QStringLiteral("mariadb"),
                {QStringLiteral("--no-defaults"), QStringLiteral("--batch"), QStringLiteral("--protocol=TCP"),
                 QStringLiteral("-h"), o.host, QStringLiteral("-P"), QString::number(o.port),
                 QStringLiteral("-u"), QStringLiteral("root"), QStringLiteral("--default-character-set=cp1250"),
                 o.database, QStringLiteral("-e"), statement});
        p.waitForFinished(-1);
    });
}

// Bytes of the values as the server sends them: the data plus one length byte per field.
std::size_t rawResultBytes(const db::Query& q) {
    std::size_t total = 0;
    for (int p = 0; p < q.recordCount(); ++p) {
        for (int c = 0; c < q.fieldCount(); ++c) {
            const auto v = q.rawAt(p, c);
            total += 1 + (v ? std::size_t(v->size()) : 0);
        }
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options o = parse(QCoreApplication::arguments());
    AppContext context;
    context.connection.setHost(o.host);
    context.connection.setPort(o.port);
    context.connection.setDatabase(o.database);
    context.connection.connect();
    context.connection.execute(QStringLiteral("set @@session.sql_mode=\"\""));
    app::TicketList list(context);
    list.orderClause = app::TicketList::defaultOrderClause();

    // The busiest day of the table, so the day filters have something to list.
    db::Query busiest(&context.connection);
    busiest.addLine(QStringLiteral("select datum, count(*) n from vazlab group by datum order by n desc limit 1"));
    busiest.open();
    const DateTimeValue day = busiest.asDateTime(0);
    db::Query count(&context.connection);
    count.addLine(QStringLiteral("select count(*) from vazlab"));
    count.open();
    std::printf("tickets in vazlab: %lld, busiest day %s\n", count.asInt(0), qPrintable(DateToSqlText(day)));

    struct State {
        const char* name;
        bool notClosed;
        bool ofDay;
    };
    for (const State s : {State{"all", false, false}, State{"not-closed", true, false},
                          State{"day", false, true}, State{"not-closed-day", true, true}}) {
        const double ms = bench::medianMs([&] { list.udelejSQL(s.notClosed, s.ofDay, day); }, 5, 1);
        const QString statement =
            app::TicketList::listSql(s.notClosed, s.ofDay, day, list.orderClause).join(u'\n');
        const double anchor = clientMs(o, statement);
        bench::printFigure(std::string("list-query-") + s.name + " (" +
                               std::to_string(list.ZQuery1.recordCount()) + " rows)",
                           ms, "ms", anchor, "ms (mariadb --batch)", "<= 1.3x");
    }

    // Memory of the whole list against the raw result.
    list.ZQuery1.close();
    const std::size_t before = bench::residentBytes();
    list.udelejSQL(false, false, day);
    const std::size_t after = bench::residentBytes();
    const std::size_t raw = rawResultBytes(list.ZQuery1);
    bench::printFigure("list-memory (" + std::to_string(list.ZQuery1.recordCount()) + " rows)",
                       double(list.ZQuery1.memoryUsage()) / 1048576.0, "MiB", double(raw) / 1048576.0,
                       "MiB raw result", "<= 1.5x");
    std::printf("resident growth while opening the whole list: %.1f MiB\n", double(after - before) / 1048576.0);
    return 0;
}
