// vaha-stress-save: saves new tickets from one workstation through the entry form's own
// logic (working table, look-ups, weights, numbering, aa.txt, save script), as several
// workstations would at the same moment. Start one process per workstation:
//
//   vaha-stress-save --host 127.0.0.1 --port 3306 --database trivon --workstation 7
//       (--saves 50 | --loop --stop-file F) [--dates 2030-12-31,2031-01-01] [--date D]
//       [--start-at EPOCH_MS] [--dir D] [--log FILE] [--check-ms 5000] [--pause-ms 200]
//
// Save number s (counted from 1) is dated with the (s mod n)-th of the n dates. With --log,
// one line per save tells how it ended, the error text on the same line:
//   saved ws=7 seq=12 id=345 number=17 date=2030-12-31 runs=1
//   confirmed ws=7 seq=13 id=346 number=9 date=2031-01-01 runs=1  (commit's answer lost, found)
//   failed ws=7 seq=14 stage=open|fill|save error=...              (not saved)
//   unknown ws=7 seq=15 id=347 number=10 date=... runs=1 error=... (commit's answer lost, the
//                                                                    server could not be asked)
// runs: how often the transaction ran (a deadlock or lock wait timeout runs it again).
// The last line on standard output sums up:
//   workstation=7 saves=50 failed=0 unknown=0 attempts=53 seconds=1.234 save-seconds=0.321
//       numbers=4,9,...          (save-seconds: inside "Uložit" only)
// Exit status 1 when a counted run had a failure or the tool could not start.
#include "db/appcontext.h"
#include "db/consql.h"
#include "db/query.h"
#include "stressticket.h"
#include "tickets/ticketeditor.h"
#include "tickets/ticketsave.h"
#include "util/error.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>

using namespace vaha;
using tickets::TicketSave;

namespace {

class OutcomeLog {
public:
    explicit OutcomeLog(const QString& path) : m_file(path) {
        if (!path.isEmpty() && !m_file.open(QIODevice::WriteOnly | QIODevice::Append))
            throw Error(QStringLiteral("cannot write %1").arg(path));
    }
    void write(const QString& line) {
        if (!m_file.isOpen())
            return;
        m_file.write((line + u'\n').toUtf8());
        m_file.flush(); // the crash test reads it while the tool runs
    }

private:
    QFile m_file;
};

QString oneLine(QString text) {
    return text.replace(u'\n', QStringLiteral(" | "));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves new tickets from one workstation, for concurrency and crash tests."));
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
    const QCommandLineOption loop(QStringLiteral("loop"),
                                  QStringLiteral("Save until the stop file exists."));
    const QCommandLineOption stopFile(QStringLiteral("stop-file"),
                                      QStringLiteral("Ends --loop when it appears."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption date(QStringLiteral("date"),
                                  QStringLiteral("Ticket date yyyy-mm-dd (default: today)."),
                                  QStringLiteral("DATE"));
    const QCommandLineOption dates(QStringLiteral("dates"),
                                   QStringLiteral("Ticket dates taken in turn, comma-separated."),
                                   QStringLiteral("DATES"));
    const QCommandLineOption startAt(QStringLiteral("start-at"),
                                     QStringLiteral("Wait until this moment (ms since 1970)."),
                                     QStringLiteral("MS"));
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("Directory of the script file aa.txt."),
                                 QStringLiteral("D"), QDir::currentPath());
    const QCommandLineOption logFile(QStringLiteral("log"),
                                     QStringLiteral("Appends one line per save to this file."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption checkMs(
        QStringLiteral("check-ms"),
        QStringLiteral("How long to try to reach the server after a lost commit."),
        QStringLiteral("MS"), QStringLiteral("5000"));
    const QCommandLineOption pauseMs(QStringLiteral("pause-ms"),
                                     QStringLiteral("Pause after a failed save."),
                                     QStringLiteral("MS"), QStringLiteral("200"));
    parser.addOptions({host, port, user, password, database, workstation, saves, loop, stopFile,
                       date, dates, startAt, dir, logFile, checkMs, pauseMs});
    parser.process(app);

    AppContext context;
    context.connection.setHost(parser.value(host));
    context.connection.setPort(parser.value(port).toInt());
    context.connection.setUser(parser.value(user));
    context.connection.setPassword(parser.value(password));
    context.connection.setDatabase(parser.value(database));
    context.workstation = parser.value(workstation);
    const QString ws = context.workstation;

    QStringList ticketDates;
    if (parser.isSet(dates))
        ticketDates = parser.value(dates).split(u',', Qt::SkipEmptyParts);
    else if (parser.isSet(date))
        ticketDates = {parser.value(date)};
    const bool looping = parser.isSet(loop);
    const QString stopPath = parser.value(stopFile);
    if (looping && stopPath.isEmpty()) {
        std::fprintf(stderr, "vaha-stress-save: --loop needs --stop-file\n");
        return 2;
    }
    const int count = parser.value(saves).toInt();
    const int pause = parser.value(pauseMs).toInt();

    int saved = 0;
    int failed = 0;
    int unknown = 0;
    int attempts = 0;
    QStringList numbers;
    QElapsedTimer clock;
    QElapsedTimer saving;
    qint64 saveMs = 0; // inside "Uložit" only, without opening the form and typing
    try {
        OutcomeLog log(parser.value(logFile));
        // As the connect routine prepares the session at start; a reconnect does not repeat it.
        db::prepareSession(context.connection);
        tickets::TicketEditor editor(context);
        db::Query partners;
        partners.setSql({QStringLiteral("select * from adresar order by ico")});
        TicketSave save(editor);
        save.setScriptFile(parser.value(dir) + QStringLiteral("/aa-") + ws +
                           QStringLiteral(".txt"));
        save.setCheckMilliseconds(parser.value(checkMs).toInt());
        if (parser.isSet(startAt)) {
            const qint64 wait =
                parser.value(startAt).toLongLong() - QDateTime::currentMSecsSinceEpoch();
            if (wait > 0)
                QThread::msleep(quint64(wait));
        }
        clock.start();
        for (int seq = 1; looping ? !QFile::exists(stopPath) : seq <= count; ++seq) {
            const QString ticketDate =
                ticketDates.isEmpty() ? QString() : ticketDates[seq % ticketDates.size()];
            const QString what = QStringLiteral("ws=%1 seq=%2").arg(ws).arg(seq);
            const auto where = [&] {
                return QStringLiteral(" id=%1 number=%2 date=%3 runs=%4")
                    .arg(save.ticketId())
                    .arg(save.number())
                    .arg(ticketDate)
                    .arg(save.attempts());
            };
            QString stage = QStringLiteral("open");
            try {
                editor.Tag = 0;
                editor.open();
                stage = QStringLiteral("fill");
                stress::fillTicket(editor, partners, ws, seq, ticketDate);
                stage = QStringLiteral("save");
                saving.start();
                save.run();
                saveMs += saving.elapsed();
                editor.close();
                attempts += save.attempts();
                ++saved;
                numbers.append(QString::number(save.number()));
                log.write((save.outcome() == TicketSave::Outcome::Confirmed
                               ? QStringLiteral("confirmed ")
                               : QStringLiteral("saved ")) +
                          what + where());
            } catch (const Error& e) {
                editor.close();
                const bool undecided = stage == QStringLiteral("save") &&
                                       save.outcome() == TicketSave::Outcome::Unknown;
                if (stage == QStringLiteral("save"))
                    attempts += save.attempts();
                ++(undecided ? unknown : failed);
                const QString line = (undecided ? QStringLiteral("unknown ") + what + where()
                                                : QStringLiteral("failed ") + what +
                                                      QStringLiteral(" stage=") + stage) +
                                     QStringLiteral(" error=") + oneLine(e.message());
                log.write(line);
                if (!looping)
                    std::fprintf(stderr, "%s\n", qPrintable(line));
                QThread::msleep(quint64(pause));
            }
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "vaha-stress-save: workstation %s: %s\n", qPrintable(ws), e.what());
        return 1;
    }
    // Not printf's %f: the regional settings would put a decimal comma there.
    std::printf("workstation=%s saves=%d failed=%d unknown=%d attempts=%d seconds=%s "
                "save-seconds=%s numbers=%s\n",
                qPrintable(ws), saved, failed, unknown, attempts,
                qPrintable(QString::number(double(clock.elapsed()) / 1000.0, 'f', 3)),
                qPrintable(QString::number(double(saveMs) / 1000.0, 'f', 3)),
                qPrintable(numbers.join(u',')));
    return !looping && failed + unknown > 0 ? 1 : 0;
}
