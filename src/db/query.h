#pragma once

#include "db/connection.h"
#include "db/field.h"
#include "db/rowstore.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <vector>

namespace vaha::db {

class Connection;

// A statement given as lines and its result held in memory, with a cursor over the rows,
// bookmarks, locate and a client-side sort. Views bound to it (grids, search lists) follow its
// signals; disableControls() holds them still while code walks the rows.
class Query : public QObject {
    Q_OBJECT
public:
    explicit Query(Connection* connection = nullptr, QObject* parent = nullptr);
    ~Query() override;

    // Assigning another connection closes the query first; the same one changes nothing.
    void setConnection(Connection* connection);
    Connection* connection() const { return m_connection; }

    // The statement as lines, joined with line breaks when sent.
    void setSql(const QStringList& lines) { m_sql = lines; }
    void clearSql() { m_sql.clear(); }
    void addLine(const QString& line) { m_sql.append(line); }
    const QStringList& sql() const { return m_sql; }
    QString statement() const { return m_sql.join(u'\n'); }

    // Sends the statement and reads all its rows; the first row becomes current. Connects
    // first when the connection is closed. Raises the database error and stays closed.
    void open();
    // Runs the statement as one that returns no rows.
    void execSql();
    void close();
    bool isOpen() const { return m_open; }

    // Fields (an open query only; a closed query has none).
    int fieldCount() const { return int(m_fields.size()); }
    const Field& field(int index) const { return m_fields.at(std::size_t(index)); }
    int fieldIndex(QStringView name) const; // letter case ignored; -1 when missing
    // Throws "Field 'name' not found".
    int requireField(QStringView name) const;

    // Cursor: positions count rows in the current (possibly sorted) order.
    int recordCount() const { return int(m_order.size()); }
    bool isEmpty() const { return m_order.empty(); }
    int position() const { return m_pos; } // -1 when there is no current row
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int position);

    // Values of the current row by column index or name (name lookup throws when missing).
    // A missing row or NULL reads as empty text, 0 or the zero date.
    bool isNull(int column) const;
    QString asString(int column) const;
    qint64 asInt(int column) const;
    double asFloat(int column) const;
    DateTimeValue asDateTime(int column) const;
    QString displayText(int column) const; // as a grid shows it
    std::optional<QByteArrayView> raw(int column) const;

    bool isNull(QStringView name) const { return isNull(requireField(name)); }
    QString asString(QStringView name) const { return asString(requireField(name)); }
    qint64 asInt(QStringView name) const { return asInt(requireField(name)); }
    double asFloat(QStringView name) const { return asFloat(requireField(name)); }
    DateTimeValue asDateTime(QStringView name) const { return asDateTime(requireField(name)); }

    // Values of any row, by position in the current order.
    std::optional<QByteArrayView> rawAt(int position, int column) const;
    QString displayTextAt(int position, int column) const;
    QString stringAt(int position, int column) const;

    // Bookmarks: the current row's identity as text, valid until the query is closed.
    QString bookmark() const;
    bool gotoBookmark(const QString& bookmark); // false when it names no row

    // Moves to the first row (in the current order) whose field equals `value`: the whole value,
    // letter case ignored unless `caseSensitive`. False, and no move, when there is none.
    bool locate(QStringView fieldName, const QString& value, bool caseSensitive = false);

    // Sorts the rows in memory by one field, ascending and stable; the current row stays
    // current. Naming the field already sorted on changes nothing.
    void sortBy(QStringView fieldName);
    const QString& sortField() const { return m_sortField; }

    // Bound views stop following while disabled (nestable); enabling again tells them once.
    void disableControls() { ++m_disabled; }
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // Bytes held for the rows.
    std::size_t memoryUsage() const { return m_rows.memoryUsage(); }

Q_SIGNALS:
    void opened();
    void closed();
    void reordered();
    void currentChanged(int position);

private:
    class Reader;
    void setPosition(int position);
    int rowAt(int position) const;

    QPointer<Connection> m_connection;
    QStringList m_sql;
    bool m_open = false;
    std::vector<Field> m_fields;
    RowStore m_rows;
    std::vector<int> m_order;
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;
    QString m_sortField;
    int m_disabled = 0;
    bool m_pendingReset = false;
};

} // namespace vaha::db
