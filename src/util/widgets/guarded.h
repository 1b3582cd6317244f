#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <type_traits>

// Every event handler of the program runs guarded: an exception ends the handler, its text is
// shown in the standard error box and the program goes on. Nothing crosses Qt's event loop.
namespace vaha::ui {

// Runs `handler`; an exception is reported in the standard error box over `context`.
// Returns false when the handler ended with an exception.
bool runGuarded(QWidget* context, const std::function<void()>& handler);

// A slot that runs a member function guarded, for connect():
//   connect(button, &QPushButton::clicked, this, guarded(this, &TFvaha::Button1Click));
template <typename Window> auto guarded(Window* window, void (Window::*handler)()) {
    return [window, handler] {
        runGuarded(window, [window, handler] { (window->*handler)(); });
    };
}

// An application object that also catches what a handler let through, as a last resort.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vaha::ui
