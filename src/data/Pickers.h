#pragma once

#include <QDateEdit>
#include <QTimeEdit>

// The date and time pickers of the forms, in the program's short date and long time formats.

// A date with a calendar to choose from; today at first.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);
};

// A time of day to the second; midnight at first.
class TimePicker : public QTimeEdit {
    Q_OBJECT
public:
    explicit TimePicker(QWidget* parent = nullptr);
};
