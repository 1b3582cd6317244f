// vaha-stress-save: saves new tickets from one workstation through the entry form's own
// logic (working table, numbering, aa.txt, save script), as several workstations would at
// the same moment. Start one process per workstation:
//
//   vaha-stress-save --host 127.0.0.1 --port 3306 --database trivon --workstation 7
//       --saves 50 [--date 2025-06-30] [--start-at EPOCH_MS] [--dir D]
//
// Prints one line: workstation=7 saves=50 attempts=53 seconds=1.234 numbers=4,9,...
#include "db/appcontext.h"
#include "tickets/ticketeditor.h"
#include "tickets/ticketsave.h"
#include "util/error.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

using namespace vaha;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves new tickets from one workstation, for concurrency tests."));
    parser.addHelpOption();
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Server."),
                                  QStringLiteral("HOST"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port."),
                                  QStringLiteral("PORT"), QStringLiteral("3306"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User."),
                                  QStringLiteral("USER"), QStringLiteral("root"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Password."),
                                      QStringLiteral("PASSWORD"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Database."),
                                      QStringLiteral("DB"), QStringLiteral("trivon"));
    const QCommandLineOption workstation(QStringLiteral("workstation"),
                                         QStringLiteral("Workstation number (CisloPC)."),
                                         QStringLiteral("N"));
    const QCommandLineOption saves(QStringLiteral("saves"), QStringLiteral("Tickets to save."),
                                   QStringLiteral("N"), QStringLiteral("20"));
    const QCommandLineOption date(QStringLiteral("date"),
                                  QStringLiteral("Ticket date yyyy-mm-dd (default: today)."),
                                  QStringLiteral("DATE"));
    const QCommandLineOption startAt(QStringLiteral("start-at"),
                                     QStringLiteral("Wait until this moment (ms since 1970)."),
                                     QStringLiteral("MS"));
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("Directory of the script file aa.txt."),
                                 QStringLiteral("D"), QDir::currentPath());
    parser.addOptions(
        {host, port, user, password, database, workstation, saves, date, startAt, dir});
    parser.process(app);

    AppContext context;
    context.connection.setHost(parser.value(host));
    context.connection.setPort(parser.value(port).toInt());
    context.connection.setUser(parser.value(user));
    context.connection.setPassword(parser.value(password));
    context.connection.setDatabase(parser.value(database));
    context.workstation = parser.value(workstation);

    int attempts = 0;
    QStringList numbers;
    QElapsedTimer clock;
    try {
        context.connection.execute(QStringLiteral("set @@session.sql_mode=\"\""));
        context.connection.execute(QStringLiteral("SET names cp1250;"));
        tickets::TicketEditor editor(context);
        tickets::TicketSave save(editor);
        save.setScriptFile(parser.value(dir) + QStringLiteral("/aa-") + context.workstation +
                           QStringLiteral(".txt"));
        if (parser.isSet(startAt)) {
            const qint64 wait =
                parser.value(startAt).toLongLong() - QDateTime::currentMSecsSinceEpoch();
            if (wait > 0)
                QThread::msleep(quint64(wait));
        }
        clock.start();
        const int count = parser.value(saves).toInt();
        for (int i = 0; i < count; ++i) {
            editor.Tag = 0;
            editor.open();
            if (parser.isSet(date))
                editor.ZTable1.setString(u"datum", parser.value(date));
            editor.ZTable1.setString(u"spz",
                                     QStringLiteral("WS%1-%2").arg(context.workstation).arg(i));
            save.run();
            editor.close();
            attempts += save.attempts();
            numbers.append(QString::number(save.number()));
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "vaha-stress-save: workstation %s: %s\n",
                     qPrintable(context.workstation), e.what());
        return 1;
    }
    // Not printf's %f: the regional settings would put a decimal comma there.
    std::printf("workstation=%s saves=%lld attempts=%d seconds=%s numbers=%s\n",
                qPrintable(context.workstation), static_cast<long long>(numbers.size()), attempts,
                qPrintable(QString::number(double(clock.elapsed()) / 1000.0, 'f', 3)),
                qPrintable(numbers.join(u',')));
    return 0;
}
