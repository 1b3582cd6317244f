#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QWidget;

namespace vaha::db {
class TableEditor;
}

namespace vaha::tickets {

// Binds edits, a radio group and a combo box to the columns of the Working row, as data-aware
// controls: each shows its column again whenever the column changes, and writes the text it
// holds into the column when the focus leaves it (commit), before the control's own exit
// handler runs. Numbers and dates are typed and shown in the regional format. While the row
// is not in edit mode (closed after a save, for example) the controls cannot be typed into.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    explicit FieldBinding(db::TableEditor& table, QObject* parent = nullptr);

    void bindEdit(QLineEdit* edit, const QString& column, bool readOnly = false);
    // Shows the entry equal to the column's text, else the text itself; writes its text.
    void bindCombo(QComboBox* combo, const QString& column);
    // One stored text per button; choosing a button writes its text at once. The group shows
    // the first button whose text equals the column's, or none.
    void bindRadioGroup(QButtonGroup* group, const QString& column, const QStringList& stored);

    bool isBound(QWidget* control) const { return m_controls.contains(control); }

    // Writes the control's text into its column when it differs from what the column shows.
    // Throws the conversion error of a number or date that does not convert.
    void commit(QWidget* control);
    // Writes every control that still holds typed text (before the row is posted).
    void commitAll();
    // Shows every control's column again (after entries of the combo box were replaced).
    void refresh() { showAll(); }

private:
    struct Binding {
        QString column;
        bool readOnly = false;
    };
    struct RadioBinding {
        QButtonGroup* group;
        QString column;
        QStringList stored; // by button id
    };
    void showColumn(int column);
    void showAll();
    void show(QWidget* control, const Binding& binding);
    void show(const RadioBinding& radio);
    void applyEditable();
    QString columnText(const QString& column) const;
    QString controlText(QWidget* control) const;
    void writeColumn(const QString& column, const QString& text);

    db::TableEditor& m_table;
    QHash<QWidget*, Binding> m_controls;
    QList<RadioBinding> m_radios;
};

} // namespace vaha::tickets
