// The delivery note to PDF as "Náhled" and `vahaPLX --pdf` make it (the template file read,
// the note prepared from the ticket's row, the PDF written), against a bare QPdfWriter page
// that draws the same texts in the same fonts at the same places.
//
//   bench_deliverynote --port P [--database DB] [--host H] [--repetitions N]
// The ticket is the database's newest; the query is open before the clock starts, as both
// sides need the row alike.
#include "db/connection.h"
#include "db/query.h"
#include "harness.h"
#include "report/deliverynote.h"
#include "report/fonts.h"
#include "report/reportdocument.h"
#include "util/error.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

using namespace vaha;

namespace {

struct BareText {
    QFont font;
    QPointF baseline; // millimetres
    QString text;
};

// The note's texts, line by line, as plain drawing orders.
std::vector<BareText> bareTexts(const report::PreparedPage& page) {
    std::vector<BareText> out;
    for (const report::PreparedText& text : page.texts) {
        QFont font(report::standInFamilies(text.font.family).value(0));
        font.setPointSizeF(text.font.size);
        font.setBold(text.font.bold);
        font.setItalic(text.font.italic);
        for (const report::PreparedLine& line : text.lines)
            out.push_back({font, QPointF(line.x, line.baseline), line.text});
    }
    return out;
}

void writeBarePage(const QString& path, const std::vector<BareText>& texts) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const double perMm = writer.resolution() / 25.4;
    for (const BareText& t : texts) {
        painter.setFont(t.font);
        painter.drawText(t.baseline * perMm, t.text);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList rest;
    const bench::Server server = bench::Server::fromArguments(app.arguments().mid(1), &rest);
    const int repetitions = bench::intOption(rest, QStringLiteral("--repetitions"), 15);
    try {
        QTemporaryDir dir;
        const QString noteFile = dir.filePath(QStringLiteral("note.pdf"));
        const QString bareFile = dir.filePath(QStringLiteral("bare.pdf"));
        const QString templateFile = QStringLiteral(VAHA_NOTE_TEMPLATE);

        db::Connection connection;
        connection.setHost(server.host);
        connection.setPort(server.port);
        connection.setDatabase(server.database);
        db::Query newest(&connection);
        newest.addLine(QStringLiteral("select max(id) from vazlab"));
        newest.open();
        db::Query query(&connection);
        query.setSql(report::deliveryNoteSql(newest.asString(0)));
        query.open();
        if (query.isEmpty())
            throw Error(QStringLiteral("no ticket in vazlab"));

        report::ReportDocument note;
        note.setDataSet(report::deliveryNoteDataSet(), &query);
        const auto makeNote = [&] {
            if (!note.loadFromFile(templateFile))
                throw Error(QStringLiteral("template missing: ") + templateFile);
            const QStringList errors = note.prepare();
            if (!errors.isEmpty())
                throw Error(errors.join(u'\n'));
            note.exportPdf(noteFile);
        };
        makeNote();
        const std::vector<BareText> texts = bareTexts(note.prepared().pages.at(0));
        const bench::Pair ms = bench::pairedMedianMs(
            makeNote, [&] { writeBarePage(bareFile, texts); }, repetitions, 2);
        bench::printInfo(
            QStringLiteral("delivery note: %1 text lines, %2 bytes; bare page %3 bytes")
                .arg(texts.size())
                .arg(QFile(noteFile).size())
                .arg(QFile(bareFile).size()));
        bench::printFigure("deliverynote-pdf", ms.value, "ms", ms.anchor,
                           "ms (bare QPdfWriter page, same texts)", "<= 1.5x");
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_deliverynote: %s\n", e.what());
        return 1;
    }
    return 0;
}
