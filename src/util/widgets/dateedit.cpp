#include "util/widgets/dateedit.h"

#include "util/regional.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QStyle>

namespace vaha::ui {

DateEdit::DateEdit(QWidget* parent) : QLineEdit(parent) {
    QAction* drop =
        addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    drop->setObjectName(QStringLiteral("calendarButton"));
    drop->setToolTip(QStringLiteral("Kalendář (Alt+šipka dolů)"));
    connect(drop, &QAction::triggered, this, &DateEdit::showCalendar);
}

QDate DateEdit::date() const {
    return regional::parseCompleteDate(text());
}

DateTimeValue DateEdit::dateValue() const {
    const QDate d = date();
    return d.isValid() ? toDateTimeValue(d) : 0.0;
}

void DateEdit::setDate(QDate d) {
    setText(d.isValid() ? regional::formatDate(d) : QString());
}

void DateEdit::showCalendar() {
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        m_calendar->setWindowFlags(Qt::Popup);
        m_calendar->setLocale(regional::locale());
        m_calendar->setGridVisible(true);
        connect(m_calendar, &QCalendarWidget::activated, this, [this](QDate d) {
            setDate(d);
            m_calendar->hide();
            setFocus();
        });
        connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate d) {
            setDate(d);
            m_calendar->hide();
            setFocus();
        });
    }
    const QDate current = date();
    m_calendar->setSelectedDate(current.isValid() ? current : QDate::currentDate());
    m_calendar->adjustSize();
    m_calendar->move(mapToGlobal(QPoint(0, height())));
    m_calendar->show();
    m_calendar->setFocus();
}

void DateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace vaha::ui
