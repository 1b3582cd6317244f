#include "report/modal.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace vaha::report {
namespace {
DialogInterceptor* g_interceptor = nullptr;
}

DialogInterceptor::DialogInterceptor() : m_previous(g_interceptor) {
    g_interceptor = this;
}

DialogInterceptor::~DialogInterceptor() {
    g_interceptor = m_previous;
}

int execModal(QDialog& dialog) {
    if (g_interceptor) {
        g_interceptor->dialogs.append(dialog.objectName());
        return g_interceptor->onDialog ? g_interceptor->onDialog(dialog) : QDialog::Rejected;
    }
    return dialog.exec();
}

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filter, const QString& suffix) {
    QString path;
    if (g_interceptor) {
        if (g_interceptor->onSaveFileName)
            path = g_interceptor->onSaveFileName(caption, suggested);
    } else {
        QFileDialog dialog(parent, caption, suggested, filter);
        dialog.setObjectName(QStringLiteral("SaveDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(suffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!suggested.isEmpty())
            dialog.selectFile(suggested);
        if (dialog.exec() == QDialog::Accepted)
            path = dialog.selectedFiles().value(0);
    }
    if (!path.isEmpty() && !suffix.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u'.' + suffix;
    return path;
}

} // namespace vaha::report
