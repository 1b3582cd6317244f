#include "report/pdfcommand.h"

#include "db/connection.h"
#include "db/consql.h"
#include "db/query.h"
#include "report/deliverynote.h"
#include "report/reportdocument.h"
#include "util/configuration.h"
#include "util/error.h"

#include <cstdio>
#include <cstring>

namespace vaha::report {
namespace {

void printError(const QString& text) {
    std::fputs(QStringLiteral("vahaPLX --pdf: %1\n").arg(text).toUtf8().constData(), stderr);
}

// Connects as the main window does: the same configuration file and connect routine.
void connect(db::Connection& connection) {
    const LogonSettings s =
        db::applyLogonSettings(connection, QString::fromUtf16(kSharedConfigFile), QString());
    db::connectDatabase(connection, s.sqlPort, s.openPort, s.workstation, QString(),
                        QStringLiteral("Váha PLX"));
    // The routine fails silently; connecting again raises the server's reason.
    if (!connection.isConnected())
        connection.connect();
}

} // namespace

void choosePdfCommandPlatform(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--pdf") == 0 &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int runPdfCommand(const QStringList& arguments) {
    if (arguments.size() != 3 || arguments.value(0) != QStringLiteral("--pdf")) {
        printError(QStringLiteral("použití: vahaPLX --pdf ID SOUBOR.pdf"));
        return 2;
    }
    // The id goes into the statement, so it must be a number and nothing else.
    bool ok = false;
    const qlonglong id = arguments[1].toLongLong(&ok);
    if (!ok || id <= 0 || arguments[1] != QString::number(id)) {
        printError(
            QStringLiteral("\"%1\" není id vážního listu (kladné celé číslo).").arg(arguments[1]));
        return 2;
    }
    const QString file = arguments[2];
    try {
        db::Connection connection;
        connect(connection);
        db::Query query(&connection);
        query.setSql(deliveryNoteSql(QString::number(id)));
        query.open();
        if (query.isEmpty())
            throw Error(QStringLiteral("Vážní list s id %1 neexistuje.").arg(id));

        ReportDocument report;
        report.setDataSet(deliveryNoteDataSet(), &query);
        const QString templatePath = deliveryNoteTemplatePath();
        if (!report.loadFromFile(templatePath))
            throw Error(QStringLiteral("Šablona dodacího listu %1 chybí.").arg(templatePath));
        const QStringList errors = report.prepare();
        if (!errors.isEmpty())
            throw Error(errors.join(u'\n'));
        report.exportPdf(file);
        return 0;
    } catch (const std::exception& e) {
        const auto* error = dynamic_cast<const Error*>(&e);
        printError(error ? error->message() : QString::fromUtf8(e.what()));
        return 1;
    }
}

} // namespace vaha::report
