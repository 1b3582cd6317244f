// The grid over a query as it is drawn: the cells' texts on their colours.
#include "db/query.h"
#include "support/testdatabase.h"
#include "util/widgets/datagrid.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QTest>

using namespace vaha;
using vaha::test::TestDatabase;

namespace {

struct Pixels {
    int total = 0;
    int beige = 0;
    int green = 0;
    int dark = 0;
};

// The pixels inside a cell, its border left out.
Pixels cellPixels(const QImage& image, const QRect& cell) {
    Pixels p;
    const QRect inside = cell.adjusted(2, 2, -2, -2);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ++p.total;
            p.beige += c == QColor(0xF5, 0xF0, 0xDC);
            p.green += c == QColor(0x9E, 0xE0, 0x9E);
            p.dark += c.lightness() < 100;
        }
    }
    return p;
}

} // namespace

class TestDataGrid : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<db::Connection> m_conn;

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral("insert into adresar (ico, nazevpodni, psc) values "
                                  "('1', 'Alfa', '69701'), ('2', 'Beta', NULL)"));
        m_conn = m_db->connect();
    }

    void cellsShowTheirTextsOnTheirColours() {
        db::Query q(m_conn.get());
        q.addLine(QStringLiteral("select ico, nazevpodni, psc from adresar order by ico"));
        ui::DataGrid grid;
        grid.setQuery(&q);
        grid.resize(900, 200);
        q.open();
        grid.show();
        grid.activateWindow();
        grid.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QCOMPARE(grid.currentIndex(), grid.model()->index(0, 0));
        const QImage image = grid.viewport()->grab().toImage();
        auto cell = [&](int row, int column) {
            return cellPixels(image, grid.visualRect(grid.model()->index(row, column)));
        };

        const Pixels text = cell(1, 1); // "Beta": dark letters on beige
        QVERIFY(text.dark > 0);
        QVERIFY(text.beige > text.total / 2);
        const Pixels null = cell(1, 2); // NULL: nothing but beige
        QCOMPARE(null.beige, null.total);
        const Pixels current = cell(0, 0); // the focused cell: "1" on green
        QVERIFY(current.dark > 0);
        QVERIFY(current.green > current.total / 2);
        QCOMPARE(current.beige, 0);
    }

    void widenedColumnKeepsItsWidthWhenTheQueryOpensAgain() {
        db::Query q(m_conn.get());
        q.addLine(QStringLiteral("select ico, nazevpodni, psc from adresar order by ico"));
        ui::DataGrid grid;
        grid.setQuery(&q);
        // Columns chosen as the windows choose them; one with its width given.
        grid.setColumns({{QStringLiteral("ico"), {}, {}, {}, 80},
                         {QStringLiteral("nazevpodni"), QStringLiteral("Název"), {}, {}, -1},
                         {QStringLiteral("psc"), {}, {}, {}, -1}});
        q.open();
        QCOMPARE(grid.columnWidth(0), 80);
        const int sized = grid.columnWidth(1);
        grid.setColumnWidth(1, sized + 150); // the user drags the column's edge
        q.close();
        q.open();
        QCOMPARE(grid.columnWidth(1), sized + 150);
        QCOMPARE(grid.columnWidth(0), 80);
        QCOMPARE(grid.model()->rowCount(), 2);
    }
};

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
