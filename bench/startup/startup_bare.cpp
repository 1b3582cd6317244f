// The anchor of the start-up figure: a bare Qt window that connects with the client library,
// runs one query (the statement of the program's first list) and shows its rows in a table.
// When the table first paints with the rows, "shown N rows" goes to standard output and the
// program ends.
//
//   bench_startup_bare HOST PORT DATABASE STATEMENT
#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <mysql.h>

namespace {

class PaintProbe : public QObject {
public:
    PaintProbe(int rows, QObject* parent) : QObject(parent), m_rows(rows) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!m_done && event->type() == QEvent::Paint) {
            m_done = true;
            std::printf("shown %d rows\n", m_rows);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    int m_rows;
    bool m_done = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_startup_bare HOST PORT DATABASE STATEMENT\n");
        return 2;
    }
    MYSQL* db = mysql_init(nullptr);
    const unsigned int tcp = MYSQL_PROTOCOL_TCP;
    mysql_optionsv(db, MYSQL_OPT_PROTOCOL, &tcp);
    mysql_optionsv(db, MYSQL_SET_CHARSET_NAME, "cp1250");
    if (!mysql_real_connect(db, argv[1], "root", "", argv[3], unsigned(std::atoi(argv[2])), nullptr,
                            0) ||
        mysql_query(db, argv[4]) != 0) {
        std::fprintf(stderr, "bench_startup_bare: %s\n", mysql_error(db));
        return 1;
    }
    MYSQL_RES* result = mysql_store_result(db);
    const int columns = int(mysql_num_fields(result));
    QStandardItemModel model(0, columns);
    MYSQL_FIELD* fields = mysql_fetch_fields(result);
    for (int c = 0; c < columns; ++c)
        model.setHorizontalHeaderItem(c, new QStandardItem(QString::fromLatin1(fields[c].name)));
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        QList<QStandardItem*> items;
        for (int c = 0; c < columns; ++c)
            items.append(new QStandardItem(row[c] ? QString::fromLatin1(row[c]) : QString()));
        model.appendRow(items);
    }
    mysql_free_result(result);

    QMainWindow window;
    auto* table = new QTableView(&window);
    table->setModel(&model);
    window.setCentralWidget(table);
    window.resize(1017, 430);
    table->viewport()->installEventFilter(new PaintProbe(model.rowCount(), &window));
    window.show();
    const int status = QApplication::exec();
    mysql_close(db);
    return status;
}
