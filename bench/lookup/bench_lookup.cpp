// The search over a big address book: the list build as the address book opens the dialog,
// and the slowest keystroke of part-of-text search in the shown dialog, each against a bare
// loop over pre-upper-cased strings. The search lists alone are printed for context.
//
//   bench_lookup --port P [--database DB] [--host H]
// The database must hold the reference schema with at least 100 000 partners, for example
//   tools/generate-data --port P --database bench --schema --partners 100000
#include "db/connection.h"
#include "db/query.h"
#include "harness.h"
#include "lookup/searchlistmodel.h"
#include "lookup/searchlists.h"
#include "lookup/searchrules.h"
#include "lookup/searchtext.h"
#include "lookup/tsearchform2.h"
#include "util/error.h"

#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vaha;
using namespace vaha::lookup;

namespace {

constexpr int kPartners = 100000;

// Each keystroke of typing a partner's name, filtered anew from the text before it.
const QStringList kTyped{QStringLiteral("n"),     QStringLiteral("no"),
                         QStringLiteral("nov"),   QStringLiteral("nová"),
                         QStringLiteral("novák"), QStringLiteral("novák s")};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::Server server = bench::Server::fromArguments(QApplication::arguments().mid(1));
    try {
        db::Connection conn;
        conn.setHost(server.host);
        conn.setPort(server.port);
        conn.setUser(QStringLiteral("root"));
        conn.setDatabase(server.database);
        db::Query partners(&conn);
        partners.setSql({QStringLiteral("select * from adresar order by ico")});
        partners.open();
        if (partners.recordCount() < kPartners) {
            std::fprintf(stderr,
                         "bench_lookup: %d partners in %s; prepare %d with tools/generate-data\n",
                         partners.recordCount(), qPrintable(server.database), kPartners);
            return 2;
        }
        // The address book sorts by the clicked column before it searches.
        partners.sortBy(u"nazevpodni");
        const int field = partners.fieldIndex(u"nazevpodni");
        bench::printInfo(QStringLiteral("partners: %1").arg(partners.recordCount()));
        const LocaleText rules;

        // The anchor of both figures: a bare loop that makes the pre-upper-cased strings (for
        // the list build) and one that looks for the typed text in them (for a keystroke).
        std::vector<QString> upper;
        const double bareBuildMs = bench::medianMs([&] {
            upper.clear();
            upper.reserve(std::size_t(partners.recordCount()));
            for (partners.first(); !partners.eof(); partners.next())
                upper.push_back(rules.upper(partners.displayText(field)));
        });
        std::vector<double> bareKeyMs;
        for (const QString& text : kTyped) {
            const QString needle = rules.upper(text);
            int hits = 0;
            bareKeyMs.push_back(bench::medianMs([&] {
                for (const QString& value : upper)
                    hits += value.contains(needle) ? 1 : 0;
            }));
            if (hits < 0)
                return 1;
        }
        const double bareKeyWorst = *std::max_element(bareKeyMs.begin(), bareKeyMs.end());

        // The search lists alone, without a window.
        SearchLists lists;
        SearchListModel model(lists);
        const double buildMs = bench::medianMs([&] {
            model.setShown({});
            lists.build(partners, field, rules);
            model.setShown(FilterValues(QString(), false, lists, rules));
        });
        std::vector<double> keyMs;
        for (const QString& text : kTyped)
            keyMs.push_back(
                bench::medianMs([&] { model.setShown(FilterValues(text, true, lists, rules)); }));
        bench::printInfo(QStringLiteral("search lists alone: build %1 ms, slowest keystroke %2 ms")
                             .arg(buildMs, 0, 'f', 3)
                             .arg(*std::max_element(keyMs.begin(), keyMs.end()), 0, 'f', 3));

        // The dialog as the address book opens it: the list built for part-of-text search.
        const double openMs = bench::medianMs([&] {
            TSearchForm2 form(nullptr, &partners, {}, QStringLiteral("nazevpodni"), false, 600,
                              QStringLiteral("převzít"), {}, {});
            form.applySearchKind(skContext);
        });
        bench::printFigure("lookup-list-build", openMs, "ms", bareBuildMs,
                           "ms (bare loop making pre-upper-cased strings)", "<= 300 ms");

        // Typing into the shown dialog: each keystroke filters, the list redraws and the data
        // set follows the first entry. Each text is reached from the one before it, which is
        // put back untimed before each run.
        TSearchForm2 form(nullptr, &partners, {}, QStringLiteral("nazevpodni"), false, 600,
                          QStringLiteral("převzít"), {}, {});
        form.applySearchKind(skContext);
        form.show();
        QApplication::processEvents();
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("edtemplate"));
        std::vector<double> dialogKeyMs;
        for (const QString& text : kTyped) {
            dialogKeyMs.push_back(bench::medianMs(
                [&] {
                    edit->setText(text.chopped(1));
                    QApplication::processEvents();
                },
                [&] {
                    edit->setText(text);
                    QApplication::processEvents();
                }));
        }
        QStringList each;
        for (qsizetype i = 0; i < kTyped.size(); ++i)
            each.append(QStringLiteral("\"%1\" %2")
                            .arg(kTyped[qsizetype(i)])
                            .arg(dialogKeyMs[i], 0, 'f', 2));
        bench::printInfo(QStringLiteral("keystrokes in the dialog (ms): ") +
                         each.join(QStringLiteral(", ")));
        bench::printFigure("lookup-keystroke",
                           *std::max_element(dialogKeyMs.begin(), dialogKeyMs.end()), "ms",
                           bareKeyWorst, "ms (bare loop over pre-upper-cased strings)", "<= 16 ms");
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_lookup: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
