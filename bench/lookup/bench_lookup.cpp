// The search over a big address book: building the list and each keystroke of the
// part-of-text filter, in the search lists alone and in the shown dialog.
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
#include <clocale>
#include <cstdio>
#include <vector>

using namespace vaha;
using namespace vaha::lookup;

namespace {

constexpr int kPartners = 100000;

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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Each keystroke of typing a partner's name, filtered anew from the text before it.
const QStringList kTyped{QStringLiteral("n"),     QStringLiteral("no"),
                         QStringLiteral("nov"),   QStringLiteral("nová"),
                         QStringLiteral("novák"), QStringLiteral("novák s")};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // figures with a decimal point
    const Options o = parse(QApplication::arguments());
    try {
        db::Connection conn;
        conn.setHost(o.host);
        conn.setPort(o.port);
        conn.setUser(QStringLiteral("root"));
        conn.setDatabase(o.database);
        db::Query partners(&conn);
        partners.setSql({QStringLiteral("select * from adresar order by ico")});
        partners.open();
        if (partners.recordCount() < kPartners) {
            std::fprintf(stderr,
                         "bench_lookup: %d partners in %s; prepare %d with tools/generate-data\n",
                         partners.recordCount(), qPrintable(o.database), kPartners);
            return 2;
        }
        partners.sortBy(u"nazevpodni");
        const int field = partners.fieldIndex(u"nazevpodni");
        std::printf("partners: %d\n", partners.recordCount());

        // List build. Anchor: reading every record's value text, nothing else.
        const LocaleText rules;
        const double readMs = bench::medianMs([&] {
            std::vector<QString> plain;
            plain.reserve(std::size_t(partners.recordCount()));
            for (partners.first(); !partners.eof(); partners.next())
                plain.push_back(partners.displayText(field));
        });
        SearchLists lists;
        SearchListModel model(lists);
        const double buildMs = bench::medianMs([&] {
            model.setShown({});
            lists.build(partners, field, rules);
            model.setShown(FilterValues(QString(), false, lists, rules));
        });
        bench::printFigure("lookup_list_build", buildMs, "ms", readMs, "ms", "<= 300 ms");

        // Part-of-text keystrokes. Anchor: a bare loop over pre-upper-cased strings.
        std::vector<QString> upper;
        for (int i = 0; i < lists.count(); ++i)
            upper.push_back(lists.upperValue(i).toString());
        std::vector<double> keyMs, anchorMs;
        for (const QString& text : kTyped) {
            keyMs.push_back(
                bench::medianMs([&] { model.setShown(FilterValues(text, true, lists, rules)); }));
            const QString needle = rules.upper(text);
            int hits = 0;
            anchorMs.push_back(bench::medianMs([&] {
                for (const QString& value : upper)
                    hits += value.contains(needle) ? 1 : 0;
            }));
            if (hits < 0)
                return 1;
        }
        bench::printFigure("lookup_keystroke_filter", median(keyMs), "ms", median(anchorMs), "ms",
                           "<= 16 ms");

        // The dialog as the address book opens it, then typing into it while it is shown (the
        // list redraws and the data set follows the first entry).
        const double openMs = bench::medianMs([&] {
            TSearchForm2 form(nullptr, &partners, {}, QStringLiteral("nazevpodni"), false, 600,
                              QStringLiteral("převzít"), {}, {});
            form.applySearchKind(skContext);
        });
        bench::printFigure("lookup_dialog_open", openMs, "ms", buildMs, "ms", "<= 300 ms");

        TSearchForm2 form(nullptr, &partners, {}, QStringLiteral("nazevpodni"), false, 600,
                          QStringLiteral("převzít"), {}, {});
        form.applySearchKind(skContext);
        form.show();
        QApplication::processEvents();
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("edtemplate"));
        std::vector<double> dialogKeyMs;
        for (const QString& text : kTyped) {
            dialogKeyMs.push_back(bench::medianMs([&] {
                                      edit->setText(text.chopped(1));
                                      QApplication::processEvents();
                                      edit->setText(text);
                                      QApplication::processEvents();
                                  }) /
                                  2);
        }
        bench::printFigure("lookup_keystroke_dialog", median(dialogKeyMs), "ms", median(anchorMs),
                           "ms", "<= 16 ms");
        std::printf("lookup_keystroke_dialog worst: %.3f ms\n",
                    *std::max_element(dialogKeyMs.begin(), dialogKeyMs.end()));
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_lookup: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
