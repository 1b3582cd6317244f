// Shows the address book over a database with partners, opens the search on "Název podniku",
// types a part of a name and saves what the display shows: the documentation's picture of the
// address book with the search dialog over it. Run under Xvfb
// (tools/screenshots/lookup-address-book).
//
//   vaha-lookup-screenshot --port P [--database DB] [--type TEXT] OUT.png
#include "db/connection.h"
#include "lookup/tfnabadre.h"
#include "lookup/tsearchform2.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>

using namespace vaha;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));

    QString database = QStringLiteral("trivon"), typed = QStringLiteral("agro"), out;
    int port = 33306;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--port") && i + 1 < args.size())
            port = args[++i].toInt();
        else if (args[i] == QStringLiteral("--database") && i + 1 < args.size())
            database = args[++i];
        else if (args[i] == QStringLiteral("--type") && i + 1 < args.size())
            typed = args[++i];
        else
            out = args[i];
    }
    if (out.isEmpty()) {
        std::fputs("usage: vaha-lookup-screenshot --port P [--database DB] [--type TEXT] OUT.png\n",
                   stderr);
        return 2;
    }

    db::Connection connection;
    connection.setHost(QStringLiteral("127.0.0.1"));
    connection.setPort(port);
    connection.setDatabase(database);
    lookup::TFnabadre book;
    book.Tag = 0;
    book.zqAdre()->setConnection(&connection);

    int result = 1;
    QTimer::singleShot(500, &book, [&] {
        auto* grid = book.findChild<QTableView*>(QStringLiteral("DBGrid1"));
        QTimer::singleShot(500, &book, [&] {
            auto* form = qobject_cast<lookup::TSearchForm2*>(QApplication::activeModalWidget());
            if (!form)
                return;
            const QString text = typed;
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click,
                                    form->findChild<QLineEdit*>(QStringLiteral("edtemplate")),
                                    Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
            QTimer::singleShot(700, form, [&, form] {
                const QRect area = book.frameGeometry().united(form->frameGeometry());
                const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0).copy(
                    area.adjusted(-8, -8, 8, 8));
                result = shot.save(out) ? 0 : 1;
                form->reject();
            });
        });
        if (grid)
            QTest::keyClick(grid, Qt::Key_F3);
        book.reject();
    });
    book.exec();
    if (result != 0)
        std::fprintf(stderr, "vaha-lookup-screenshot: no picture written to %s\n", qPrintable(out));
    return result;
}
