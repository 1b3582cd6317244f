#include "lookup/skintitlebar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace vaha::lookup {
namespace {

struct Colours {
    QColor top, bottom, text;
};

Colours coloursOf(SkinTitleBar::Style style) {
    if (style == SkinTitleBar::Style::WinXP)
        return {QColor(0x3A, 0x93, 0xFF), QColor(0x00, 0x4E, 0xDC), Qt::white};
    return {QColor(0x2B, 0x4F, 0x8C), QColor(0x0A, 0x1E, 0x4A), Qt::white};
}

} // namespace

SkinTitleBar::SkinTitleBar(QWidget* parent) : QWidget(parent), m_close(new QToolButton(this)) {
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setText(QStringLiteral("×"));
    m_close->setAutoRaise(true);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setFixedSize(21, 21);
    m_close->setStyleSheet(QStringLiteral(
        "QToolButton { color: white; font-weight: bold; border: 1px solid rgba(255,255,255,90);"
        " border-radius: 3px; background: rgba(255,255,255,30); }"
        "QToolButton:hover { background: #C8402C; }"));
    connect(m_close, &QToolButton::clicked, this, &SkinTitleBar::closeClicked);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinTitleBar::setSkinStyle(Style style) {
    m_style = style;
    update();
}

QString SkinTitleBar::styleName(Style style) {
    return style == Style::WinXP ? QStringLiteral("WinXP") : QStringLiteral("DeepBlue");
}

SkinTitleBar::Style SkinTitleBar::styleFromName(const QString& name) {
    return name.compare(QStringLiteral("WinXP"), Qt::CaseInsensitive) == 0 ? Style::WinXP
                                                                           : Style::DeepBlue;
}

void SkinTitleBar::paintEvent(QPaintEvent*) {
    const Colours c = coloursOf(m_style);
    QPainter p(this);
    QLinearGradient band(0, 0, 0, height());
    band.setColorAt(0, c.top);
    band.setColorAt(1, c.bottom);
    p.fillRect(rect(), band);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(c.text);
    const QRect textRect = rect().adjusted(8, 0, -(m_close->width() + 10), 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               window()->windowTitle());
}

void SkinTitleBar::resizeEvent(QResizeEvent*) {
    m_close->move(width() - m_close->width() - 6, (height() - m_close->height()) / 2);
}

void SkinTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void SkinTitleBar::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging)
        window()->move(event->globalPosition().toPoint() - m_dragOffset);
}

void SkinTitleBar::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
}

} // namespace vaha::lookup
