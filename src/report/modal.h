#pragma once

#include <QList>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

// Every modal window of the report (preview, designer, print and page setup dialogs) and every
// file-name question runs through here, so that a test can look at them instead of waiting
// for a user.
namespace vaha::report {

// Runs the dialog modally and returns its result.
int execModal(QDialog& dialog);

// Asks for a file to write: a save dialog that does not ask before replacing a file. Returns
// the chosen path with `suffix` added when the name has none, or "" when the user cancelled.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filter, const QString& suffix);

// Test support: while one exists, dialogs and questions go to it instead of the screen.
class DialogInterceptor {
public:
    DialogInterceptor();
    ~DialogInterceptor();
    DialogInterceptor(const DialogInterceptor&) = delete;
    DialogInterceptor& operator=(const DialogInterceptor&) = delete;

    // Instead of exec(): gets the dialog (not shown) and returns its result. Unset: Rejected.
    std::function<int(QDialog&)> onDialog;
    // Instead of the file dialog: gets the caption and the suggested path. Unset: "".
    std::function<QString(const QString& caption, const QString& suggested)> onSaveFileName;
    // Object names of the dialogs run so far, in order.
    QList<QString> dialogs;

private:
    DialogInterceptor* m_previous;
};

} // namespace vaha::report
