#include "lookup/applicationhotkey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vaha::lookup {

ApplicationHotKey::ApplicationHotKey(int key, QWidget* window)
    : QObject(window), m_key(key), m_window(window) {}

ApplicationHotKey::~ApplicationHotKey() {
    setActive(false);
}

void ApplicationHotKey::setActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    if (active)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool ApplicationHotKey::matches(int key) const {
    // Enter on the main keyboard and on the keypad are one key.
    if (m_key == Qt::Key_Return)
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    return key == m_key;
}

bool ApplicationHotKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !m_active || !m_window || !watched->isWidgetType())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (!matches(key->key()) || mods != Qt::NoModifier)
        return false;
    if (static_cast<QWidget*>(watched)->window() != m_window)
        return false;
    Q_EMIT hotKey();
    return true;
}

} // namespace vaha::lookup
