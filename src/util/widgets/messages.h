#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// Every box the program shows goes through here, so that a test can record the boxes instead
// of showing them, and preset the answer where a box asks.
namespace vaha::ui {

enum class BoxKind {
    Information, // the message dialog `dotaz` with the information icon
    Stop,        // `dotaz` with the stop icon
    Error,       // the standard error box: an exception's text
    NotFound,    // the standard box with exclamation beep ("Record not found")
};

struct ShownBox {
    BoxKind kind;
    QString caption;
    QString text;
};

// The caption of the program's own message dialog.
QString messageCaption();

// The program's message dialog `dotaz`: modal, centred, caption "Vážní listy PLX", one "OK".
void showMessage(QWidget* parent, const QString& text, BoxKind icon);

// The standard error box with the text of an error; one "OK".
void showError(QWidget* parent, const QString& text);

// The standard box for a search that found nothing: exclamation beep and one "OK".
void showNotFound(QWidget* parent, const QString& text);

// Test support: while a recorder is installed, boxes are handed to it and not shown.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    const QList<ShownBox>& boxes() const { return m_boxes; }
    QList<ShownBox> take();
    void clear() { m_boxes.clear(); }
    // Called for every box as it is recorded (for example to check the state at that moment).
    std::function<void(const ShownBox&)> onBox;

private:
    friend void record(const ShownBox&);
    QList<ShownBox> m_boxes;
    BoxRecorder* m_previous;
};

} // namespace vaha::ui
