#include "app/tpracuji.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace vaha::app {

WaitingGradient::WaitingGradient(QWidget* parent) : QWidget(parent) {
    m_clock.start();
    m_repaint.setInterval(kIntervalMs);
    connect(&m_repaint, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

int WaitingGradient::bandLeft() const {
    const qint64 travel = qint64(width()) + kBandWidth;
    return int((steps() * kStepPixels) % travel) - kBandWidth;
}

void WaitingGradient::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor dialog = palette().color(QPalette::Window);
    painter.fillRect(rect(), dialog);
    const int left = bandLeft();
    QLinearGradient band(left, 0, left + kBandWidth, 0);
    band.setColorAt(0, dialog);
    band.setColorAt(1, Qt::black);
    painter.fillRect(QRect(left, 0, kBandWidth, height()), band);
}

void WaitingGradient::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_repaint.start();
}

void WaitingGradient::hideEvent(QHideEvent* event) {
    m_repaint.stop();
    QWidget::hideEvent(event);
}

Tpracuji::Tpracuji(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("pracuji"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(5, 5, 236, 31);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(false);
    JvWaitingGradient1 = new WaitingGradient(this);
    JvWaitingGradient1->setObjectName(QStringLiteral("JvWaitingGradient1"));
    JvWaitingGradient1->setGeometry(20, 45, 201, 12);
    setFixedSize(245, 65);
}

Tpracuji::~Tpracuji() = default;

void Tpracuji::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1)); // the 1-pixel border
}

void Tpracuji::showEvent(QShowEvent* event) {
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace vaha::app
