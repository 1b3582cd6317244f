// Start-up to the first list on screen: vahaPLX (with its probe) against a bare Qt window that
// connects and runs the same first list statement, each started as a process of its own, in
// turns, on the offscreen platform. The time runs from the process start to its "shown" line.
//
//   bench_startup --port P [--database DB] [--host H] [--repetitions N]
// The program starts in a site directory of its own: ../trivon05.ini naming the server,
// sklady.txt beside it; vahaPLX.ini is absent, so the scale stays off.
#include "app/ticketlist.h"
#include "harness.h"
#include "util/datetimevalue.h"
#include "util/error.h"
#include "util/fileutil.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace vaha;

namespace {

// Starts the program and returns the milliseconds until it reports its first list.
double timeToFirstList(const QString& program, const QStringList& arguments,
                       const QString& directory, QString* shown) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The office's regional settings: the date field shows and reads Czech dates.
    env.insert(QStringLiteral("LANG"), QStringLiteral("cs_CZ.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("cs_CZ.UTF-8"));
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("cs"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(directory);
    QElapsedTimer clock;
    clock.start();
    p.start(program, arguments);
    QByteArray out;
    while (!out.contains('\n')) {
        if (!p.waitForReadyRead(30000)) {
            p.kill();
            p.waitForFinished();
            throw Error(QStringLiteral("%1 showed no list: %2")
                            .arg(program, QString::fromLocal8Bit(p.readAllStandardError())));
        }
        out += p.readAllStandardOutput();
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
    }
    *shown = QString::fromUtf8(out).trimmed();
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList rest;
    const bench::Server server = bench::Server::fromArguments(app.arguments().mid(1), &rest);
    const int repetitions = bench::intOption(rest, QStringLiteral("--repetitions"), 21);
    try {
        QTemporaryDir site;
        const QString work = site.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        writeLinesCp1250(site.filePath(QStringLiteral("trivon05.ini")),
                         {QStringLiteral("[LogON]"), QStringLiteral("IP=") + server.host,
                          QStringLiteral("User=root"), QStringLiteral("Password="),
                          QStringLiteral("Database=") + server.database,
                          QStringLiteral("SQLport=") + QString::number(server.port),
                          QStringLiteral("CisloPC=1")});
        writeLinesCp1250(work + QStringLiteral("/sklady.txt"),
                         {QStringLiteral("01;Sila Kyjov"), QStringLiteral("02;Sklad Čeložnice")});

        const QString dir = QCoreApplication::applicationDirPath();
        const QString vaha = dir + QStringLiteral("/bench_startup_vahaplx");
        const QString bare = dir + QStringLiteral("/bench_startup_bare");
        // The program's first list: tickets of today not closed yet, newest first.
        const QString statement =
            app::TicketList::listSql(true, true, toDateTimeValue(QDate::currentDate()),
                                     app::TicketList::defaultOrderClause())
                .join(u'\n');
        const QStringList bareArguments{server.host, QString::number(server.port), server.database,
                                        statement};
        QString vahaShown, bareShown;
        const bench::Pair ms = bench::pairedMedianMs(
            [&] { timeToFirstList(vaha, {}, work, &vahaShown); },
            [&] { timeToFirstList(bare, bareArguments, work, &bareShown); }, repetitions, 1);
        bench::printInfo(
            QStringLiteral("startup: vahaPLX %1, bare window %2").arg(vahaShown, bareShown));
        bench::printFigure("startup-first-list", ms.value, "ms", ms.anchor,
                           "ms (bare Qt window, one query)", "<= 1.5x");
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_startup: %s\n", e.what());
        return 1;
    }
    return 0;
}
