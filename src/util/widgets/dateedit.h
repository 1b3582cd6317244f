#pragma once

#include "util/datetimevalue.h"

#include <QLineEdit>

class QCalendarWidget;

namespace vaha::ui {

// A date field that may be empty: the user types a date in regional format or picks one from
// the drop-down calendar (the button at the right edge, or Alt+Down). Its text is what counts:
// every change of the text emits textChanged, also while a date is only half typed.
class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    // The date of the text; invalid when the text is no date.
    QDate date() const;
    // The date as a date-time value; 0 (30 December 1899) when the text is no date.
    DateTimeValue dateValue() const;
    // Shows the date in regional format; an invalid date empties the field.
    void setDate(QDate date);

    void showCalendar();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QCalendarWidget* m_calendar = nullptr;
};

} // namespace vaha::ui
