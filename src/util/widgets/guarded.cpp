#include "util/widgets/guarded.h"

#include "util/error.h"
#include "util/widgets/messages.h"

#include <QCursor>
#include <exception>

namespace vaha::ui {
namespace {

void report(QWidget* context, const QString& text) {
    // A wait cursor left by the failed handler must not outlive it.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    showError(context, text);
}

} // namespace

bool runGuarded(QWidget* context, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const Error& e) {
        report(context, e.message());
    } catch (const std::exception& e) {
        report(context, QString::fromUtf8(e.what()));
    } catch (...) {
        report(context, QStringLiteral("Neznámá chyba."));
    }
    return false;
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    QWidget* context =
        receiver && receiver->isWidgetType() ? static_cast<QWidget*>(receiver) : nullptr;
    runGuarded(context ? context->window() : nullptr,
               [&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace vaha::ui
