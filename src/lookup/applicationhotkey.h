#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace vaha::lookup {

// A key that acts for one window wherever the focus is inside it, before any control of the
// window sees the key. Active only while switched on; a key meant for another window (a
// message box or a dialog over this one) is left alone.
class ApplicationHotKey : public QObject {
    Q_OBJECT
public:
    ApplicationHotKey(int key, QWidget* window);
    ~ApplicationHotKey() override;

    void setActive(bool active);
    bool isActive() const { return m_active; }
    int key() const { return m_key; }

Q_SIGNALS:
    void hotKey();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool matches(int key) const;

    int m_key;
    QPointer<QWidget> m_window;
    bool m_active = false;
};

} // namespace vaha::lookup
