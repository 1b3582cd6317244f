// The search over an address book of 100 000 partners: building the list and each keystroke
// of the part-of-text filter, in the core and in the shown dialog. Needs a MariaDB server:
//
//   tools/dbserver start build/benchdb 34501
//   VAHA_BENCH_DB_PORT=34501 build/bench/lookup/bench_lookup
//   tools/dbserver stop build/benchdb
//
// Prints one line per figure: "figure NAME: VALUE ms, anchor ANCHOR ms, ratio R, goal G ms",
// each figure beside an anchor measured in the same run (median of the repetitions after a
// warm-up).
#include "db/connection.h"
#include "db/query.h"
#include "db/scriptrunner.h"
#include "lookup/searchlistmodel.h"
#include "lookup/searchlists.h"
#include "lookup/searchrules.h"
#include "lookup/searchtext.h"
#include "lookup/tsearchform2.h"
#include "util/error.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vaha;
using namespace vaha::lookup;

namespace {

constexpr int kPartners = 100000;
constexpr int kWarmUp = 2;
constexpr int kRepetitions = 9;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median milliseconds of `work` after a warm-up; `prepare` runs untimed before each run.
double measure(const std::function<void()>& work, const std::function<void()>& prepare = {}) {
    std::vector<double> times;
    for (int i = 0; i < kWarmUp + kRepetitions; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        work();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (i >= kWarmUp)
            times.push_back(ms);
    }
    return median(times);
}

void figure(const char* name, double value, double anchor, double goal) {
    std::printf("figure %s: %.2f ms, anchor %.2f ms, ratio %.2f, goal %.0f ms\n", name, value,
                anchor, anchor > 0 ? value / anchor : 0.0, goal);
    std::fflush(stdout);
}

void fillPartners(db::Connection& admin) {
    admin.execute(QStringLiteral("DROP DATABASE IF EXISTS vaha_bench_lookup"));
    admin.execute(QStringLiteral(
        "CREATE DATABASE vaha_bench_lookup CHARACTER SET cp1250 COLLATE cp1250_general_ci"));
    admin.execute(QStringLiteral("USE vaha_bench_lookup"));
    QFile schema(QStringLiteral(VAHA_SCHEMA_FILE));
    if (!schema.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open %1").arg(schema.fileName()));
    db::ScriptRunner runner(&admin);
    runner.addLine(QString::fromUtf8(schema.readAll()));
    runner.execute();
    admin.execute(QStringLiteral(
        "INSERT INTO adresar (ico, kod_platce, kodpar, nazevpodni, sidlo, ulicecislo, psc, posta)"
        " SELECT LPAD(seq, 8, '0'), CONCAT('CZ', LPAD(seq, 8, '0')), CONCAT('P', seq),"
        "  CONCAT(ELT(1 + seq % 12, 'Zemědělská', 'Agro', 'Kabát', 'Řepka', 'Čech', 'Novák',"
        "   'Šlapanice', 'Žatecká', 'Ovoce', 'Mlýn', 'Statek', 'Družstvo'), ' ',"
        "   ELT(1 + (seq DIV 12) % 8, 'Kyjov', 'Hodonín', 'Břeclav', 'Čáslav', 'Louny',"
        "   'Třebíč', 'Uherské Hradiště', 'Žďár'), ' ',"
        "   ELT(1 + (seq DIV 96) % 4, 'a.s.', 's.r.o.', 'spol. s r.o.', 'družstvo'), ' ', seq),"
        "  ELT(1 + seq % 8, 'Kyjov', 'Hodonín', 'Břeclav', 'Čáslav', 'Louny', 'Třebíč',"
        "   'Uherské Hradiště', 'Žďár nad Sázavou'),"
        "  CONCAT('Nádražní ', seq % 200), LPAD(60000 + seq % 9000, 5, '0'), 'Pošta'"
        " FROM seq_1_to_100000"));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // figures with a decimal point
    const int port = qEnvironmentVariableIntValue("VAHA_BENCH_DB_PORT");
    if (port <= 0) {
        std::fputs("bench_lookup: set VAHA_BENCH_DB_PORT to the port of a MariaDB server "
                   "(tools/dbserver start DIR PORT)\n",
                   stderr);
        return 2;
    }
    try {
        db::Connection conn;
        conn.setHost(QStringLiteral("127.0.0.1"));
        conn.setPort(port);
        conn.setUser(QStringLiteral("root"));
        fillPartners(conn);

        db::Query partners(&conn);
        partners.setSql({QStringLiteral("select * from adresar order by ico")});
        const double openMs = measure([&] { partners.open(); }, [&] { partners.close(); });
        partners.open();
        partners.sortBy(u"nazevpodni");
        const int field = partners.fieldIndex(u"nazevpodni");
        std::printf("partners: %d rows, query open %.1f ms (median)\n", partners.recordCount(),
                    openMs);

        // List build. Anchor: reading every record's value text, nothing else.
        const LocaleText rules;
        std::vector<QString> plain;
        const double readMs = measure(
            [&] {
                for (partners.first(); !partners.eof(); partners.next())
                    plain.push_back(partners.displayText(field));
            },
            [&] { plain.clear(); });
        SearchLists lists;
        SearchListModel model(lists);
        const double buildMs = measure(
            [&] {
                lists.build(partners, field, rules);
                model.setShown(FilterValues(QString(), false, lists, rules));
            },
            [&] { model.setShown({}); });
        figure("list_build", buildMs, readMs, 300);

        // Part-of-text keystrokes. Anchor: a bare loop over the pre-upper-cased values.
        const QStringList typed{QStringLiteral("n"),     QStringLiteral("no"),
                                QStringLiteral("nov"),   QStringLiteral("nová"),
                                QStringLiteral("novák"), QStringLiteral("novák k")};
        std::vector<QString> upper; // the anchor's pre-upper-cased strings
        for (int i = 0; i < lists.count(); ++i)
            upper.push_back(lists.upperValue(i).toString());
        std::vector<double> keyMs, anchorMs;
        for (const QString& text : typed) {
            keyMs.push_back(
                measure([&] { model.setShown(FilterValues(text, true, lists, rules)); }));
            const QString needle = rules.upper(text);
            int hits = 0;
            anchorMs.push_back(measure([&] {
                for (const QString& value : upper)
                    hits += value.contains(needle) ? 1 : 0;
            }));
            if (hits < 0)
                return 1;
        }
        figure("keystroke_filter", median(keyMs), median(anchorMs), 16);

        // The same in the dialog as shown: opening it in part-of-text mode, then typing.
        const double dialogMs = measure([&] {
            TSearchForm2 form(nullptr, &partners, {}, QStringLiteral("nazevpodni"), false, 600,
                              QStringLiteral("převzít"), {}, {});
            form.applySearchKind(skContext);
        });
        figure("dialog_open", dialogMs, buildMs, 300);

        TSearchForm2 form(nullptr, &partners, {}, QStringLiteral("nazevpodni"), false, 600,
                          QStringLiteral("převzít"), {}, {});
        form.applySearchKind(skContext);
        form.show();
        QApplication::processEvents();
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("edtemplate"));
        std::vector<double> dialogKeyMs;
        for (const QString& text : typed) {
            dialogKeyMs.push_back(measure(
                [&] {
                    edit->setText(text);
                    QApplication::processEvents(); // the list and the grid redraw
                },
                [&] { edit->setText(text.chopped(1)); }));
        }
        figure("keystroke_dialog", median(dialogKeyMs), median(anchorMs), 16);
        std::printf("keystroke_dialog worst: %.2f ms\n",
                    *std::max_element(dialogKeyMs.begin(), dialogKeyMs.end()));
        conn.execute(QStringLiteral("DROP DATABASE vaha_bench_lookup"));
    } catch (const Error& e) {
        std::fprintf(stderr, "bench_lookup: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
