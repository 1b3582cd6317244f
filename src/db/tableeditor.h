#pragma once

#include "db/connection.h"
#include "db/field.h"

#include <QObject>
#include <QPointer>
#include <optional>
#include <vector>

namespace vaha::db {

class Connection;

// Edits the one row of a small working table (a table without a key that holds a single
// row). Values are kept as the server's text; a post writes back only the columns that were
// changed, every value escaped, so columns the program does not know survive unchanged.
class TableEditor : public QObject {
    Q_OBJECT
public:
    explicit TableEditor(Connection* connection = nullptr, QObject* parent = nullptr);

    void setConnection(Connection* connection) { m_connection = connection; }
    void setTableName(const QString& name) { m_table = name; }
    const QString& tableName() const { return m_table; }

    // Reads the table's first row (or none). Throws the database error.
    void open();
    // Forgets changes not posted.
    void close();
    bool isOpen() const { return m_open; }
    bool hasRow() const { return m_hasRow || m_inserting; }

    // Edit mode; on a table without rows a new blank row is started instead.
    void edit();
    bool isEditing() const { return m_editing; }
    // Writes the changed columns back and leaves edit mode. Throws the database error (the
    // row stays in edit mode with its changes).
    void post();

    int fieldCount() const { return int(m_fields.size()); }
    const Field& field(int index) const { return m_fields.at(std::size_t(index)); }
    int fieldIndex(QStringView name) const;
    int requireField(QStringView name) const; // throws "Field 'x' not found"

    // Reading: NULL and a missing row read as "", 0 or the zero date.
    bool isNull(QStringView name) const;
    QString asString(QStringView name) const;
    double asFloat(QStringView name) const;
    qint64 asInt(QStringView name) const;
    DateTimeValue asDateTime(QStringView name) const;
    QString displayText(QStringView name) const; // regional format, as an edit shows it
    std::optional<QByteArray> raw(int column) const;

    // Writing needs edit mode (throws "Dataset not in edit or insert mode" otherwise). Each
    // write emits fieldChanged when the value really changes.
    void setString(QStringView name, const QString& text); // "" into a number or date: NULL
    void setFloat(QStringView name, double value);
    void setInt(QStringView name, qint64 value);
    void setDateTime(QStringView name, DateTimeValue value);
    void setNull(QStringView name);
    // A value typed in regional format; throws the conversion error.
    void setDisplayText(QStringView name, const QString& text);
    void setRaw(int column, std::optional<QByteArray> value);

Q_SIGNALS:
    void fieldChanged(int column);
    void stateChanged(); // opened, closed, edit mode entered or left

private:
    void requireEditing() const;

    QPointer<Connection> m_connection;
    QString m_table;
    bool m_open = false;
    bool m_hasRow = false;
    bool m_editing = false;
    bool m_inserting = false;
    std::vector<Field> m_fields;
    std::vector<std::optional<QByteArray>> m_values;
    std::vector<std::optional<QByteArray>> m_original;
    std::vector<bool> m_changed;
};

} // namespace vaha::db
