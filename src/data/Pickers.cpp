#include "Pickers.h"

#include "Formats.h"

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::ShortDatePattern)));
    setCalendarPopup(true);
    setDate(QDate::currentDate());
}

TimePicker::TimePicker(QWidget* parent) : QTimeEdit(parent)
{
    setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::LongTimePattern)));
    setTime(QTime(0, 0));
}
