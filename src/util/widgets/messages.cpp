#include "util/widgets/messages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace vaha::ui {
namespace {
BoxRecorder* g_recorder = nullptr;

void showBox(QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
             bool centreOnScreen) {
    // A carriage return alone breaks the line, as the office's message texts expect.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(icon, caption, shown, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setCursor(Qt::PointingHandCursor);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    if (centreOnScreen) {
        box.adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            box.move(screen->availableGeometry().center() - box.rect().center());
    }
    box.exec();
}

// The caption of the standard boxes: the program's name.
QString programCaption() {
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("vahaPLX") : name;
}
} // namespace

void record(const ShownBox& box) {
    g_recorder->m_boxes.append(box);
    if (g_recorder->onBox)
        g_recorder->onBox(box);
}

QString messageCaption() {
    return QStringLiteral("Vážní listy PLX");
}

BoxRecorder::BoxRecorder() : m_previous(g_recorder) {
    g_recorder = this;
}
BoxRecorder::~BoxRecorder() {
    g_recorder = m_previous;
}

QList<ShownBox> BoxRecorder::take() {
    QList<ShownBox> result;
    result.swap(m_boxes);
    return result;
}

void showMessage(QWidget* parent, const QString& text, BoxKind icon) {
    if (g_recorder) {
        record({icon, messageCaption(), text});
        return;
    }
    showBox(parent, messageCaption(), text,
            icon == BoxKind::Stop ? QMessageBox::Critical : QMessageBox::Information, true);
}

void showError(QWidget* parent, const QString& text) {
    const QString caption = programCaption();
    if (g_recorder) {
        record({BoxKind::Error, caption, text});
        return;
    }
    showBox(parent, caption, text, QMessageBox::Critical, false);
}

void showNotFound(QWidget* parent, const QString& text) {
    QApplication::beep();
    const QString caption = programCaption();
    if (g_recorder) {
        record({BoxKind::NotFound, caption, text});
        return;
    }
    showBox(parent, caption, text, QMessageBox::Warning, false);
}

} // namespace vaha::ui
