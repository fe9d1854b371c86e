#pragma once

#include <QDateEdit>
#include <QTimeEdit>

// The date and time pickers of the forms, in the program's short date and long time formats.

// A date with a calendar to choose from; today at first.
//
// What is typed is read as a short date (yyyy/mm/dd) when the field is left or Enter is pressed.
// A text that is no date, such as the 30th of February, is never turned into another date: the
// field keeps the text and the focus and says why, and date() keeps the last date it took.
// Actions read the field through enteredDate(), which refuses them while the text is no date.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // Why the typed text is no date; empty when the field holds a date.
    QString refusal() const;
    // The date the field holds. When its typed text is no date: focuses the field and throws
    // CorvelError saying why.
    QDate enteredDate();

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void keepFocusAndSayWhy();

    QString told_;  // the refused text whose reason an action has just been told
};

// A time of day to the second; midnight at first.
class TimePicker : public QTimeEdit {
    Q_OBJECT
public:
    explicit TimePicker(QWidget* parent = nullptr);
};
