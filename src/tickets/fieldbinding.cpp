#include "tickets/fieldbinding.h"

#include "db/tableeditor.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>

namespace vaha::tickets {

FieldBinding::FieldBinding(db::TableEditor& table, QObject* parent)
    : QObject(parent), m_table(table) {
    connect(&m_table, &db::TableEditor::fieldChanged, this, &FieldBinding::showColumn);
    connect(&m_table, &db::TableEditor::stateChanged, this, [this] {
        applyEditable();
        showAll();
    });
}

void FieldBinding::bindEdit(QLineEdit* edit, const QString& column, bool readOnly) {
    m_controls.insert(edit, Binding{column, readOnly});
    show(edit, m_controls.value(edit));
    applyEditable();
}

void FieldBinding::bindCombo(QComboBox* combo, const QString& column) {
    m_controls.insert(combo, Binding{column, false});
    show(combo, m_controls.value(combo));
    applyEditable();
}

void FieldBinding::bindRadioGroup(QButtonGroup* group, const QString& column,
                                  const QStringList& stored) {
    m_radios.append(RadioBinding{group, column, stored});
    connect(group, &QButtonGroup::idClicked, this, [this, group](int id) {
        for (const RadioBinding& r : std::as_const(m_radios)) {
            if (r.group != group)
                continue;
            if (m_table.isEditing() && id >= 0 && id < r.stored.size())
                writeColumn(r.column, r.stored[id]);
            else
                show(r); // nothing to write into: the choice goes back
        }
    });
    show(m_radios.last());
    applyEditable();
}

QString FieldBinding::columnText(const QString& column) const {
    // A closed row has no columns: its controls are empty.
    if (m_table.fieldIndex(column) < 0)
        return {};
    return m_table.displayText(column);
}

QString FieldBinding::controlText(QWidget* control) const {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return {};
}

void FieldBinding::show(QWidget* control, const Binding& binding) {
    const QString text = columnText(binding.column);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() != text)
            edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        combo->setCurrentIndex(index);
        if (index < 0)
            combo->setEditText(text);
    }
}

void FieldBinding::show(const RadioBinding& radio) {
    const QString text = columnText(radio.column);
    const int chosen = int(radio.stored.indexOf(text));
    // An exclusive group cannot show "none chosen" by itself.
    const bool exclusive = radio.group->exclusive();
    radio.group->setExclusive(false);
    for (QAbstractButton* b : radio.group->buttons())
        b->setChecked(radio.group->id(b) == chosen);
    radio.group->setExclusive(exclusive);
}

void FieldBinding::showColumn(int column) {
    if (column < 0 || column >= m_table.fieldCount())
        return;
    const QString& name = m_table.field(column).name;
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        if (it->column.compare(name, Qt::CaseInsensitive) == 0)
            show(it.key(), *it);
    }
    for (const RadioBinding& r : std::as_const(m_radios)) {
        if (r.column.compare(name, Qt::CaseInsensitive) == 0)
            show(r);
    }
}

void FieldBinding::showAll() {
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it)
        show(it.key(), *it);
    for (const RadioBinding& r : std::as_const(m_radios))
        show(r);
}

void FieldBinding::applyEditable() {
    const bool editing = m_table.isEditing();
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        const bool readOnly = it->readOnly || !editing;
        if (auto* edit = qobject_cast<QLineEdit*>(it.key())) {
            edit->setReadOnly(readOnly);
            // A text column takes no more characters than it holds.
            const int c = m_table.fieldIndex(it->column);
            if (c >= 0) {
                const db::Field& f = m_table.field(c);
                const bool text = !f.isNumeric() && !f.isDateOrTime() && !f.isBlob();
                edit->setMaxLength(text && f.length > 0 && f.length < 32767 ? int(f.length)
                                                                            : 32767);
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(it.key())) {
            if (combo->lineEdit())
                combo->lineEdit()->setReadOnly(readOnly);
        }
    }
}

void FieldBinding::writeColumn(const QString& column, const QString& text) {
    const db::Field& f = m_table.field(m_table.requireField(column));
    if (f.isNumeric() || f.isDateOrTime())
        m_table.setDisplayText(column, text);
    else
        m_table.setString(column, text);
}

void FieldBinding::commit(QWidget* control) {
    const auto it = m_controls.constFind(control);
    if (it == m_controls.cend() || it->readOnly || !m_table.isEditing())
        return;
    const QString text = controlText(control);
    if (text == columnText(it->column))
        return;
    writeColumn(it->column, text);
    // The column may show the value differently ("30,50" becomes "30,5").
    show(control, *it);
}

void FieldBinding::commitAll() {
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it)
        commit(it.key());
}

} // namespace vaha::tickets
