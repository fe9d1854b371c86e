#include "Pickers.h"

#include "CorvelError.h"
#include "Dialogs.h"
#include "Formats.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>

namespace {

// A typed text with all three parts of a short date: "2026/2/30", "2026/13/01".
const QRegularExpression& wholeDateForm()
{
    static const QRegularExpression form(QRegularExpression::anchoredPattern(QStringLiteral("(\\d{4})/(\\d{1,2})/(\\d{1,2})")));
    return form;
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::ShortDatePattern)));
    setCalendarPopup(true);
    setKeyboardTracking(false);
    setDate(QDate::currentDate());
}

QString DatePicker::refusal() const
{
    QString reason;
    Formats::readShortDate(text(), &reason);
    return reason;
}

QDate DatePicker::enteredDate()
{
    const QString reason = refusal();
    if (reason.isEmpty())
        return Formats::readShortDate(text());
    told_ = text();
    setFocus(Qt::OtherFocusReason);
    throw CorvelError(reason);
}

QValidator::State DatePicker::validate(QString& text, int& pos) const
{
    // The field's own reading puts a day that the month does not have back into range ("2026/02/30"
    // would become 2026/02/28) and refuses a day no month has: such a text is left as typed
    // instead, to be read, and refused, when the field is left. A month no year has is refused
    // as it is typed (keyPressEvent says why).
    QString read = text;
    int readPos = pos;
    const QValidator::State state = QDateEdit::validate(read, readPos);
    if (state != QValidator::Invalid)
        return read == text ? state : QValidator::Intermediate;
    const QRegularExpressionMatch parts = wholeDateForm().match(text);
    const int month = parts.captured(2).toInt();
    return parts.hasMatch() && month >= 1 && month <= 12 ? QValidator::Intermediate : QValidator::Invalid;
}

void DatePicker::fixup(QString& text) const
{
    const QDate date = Formats::readShortDate(text);
    if (date.isValid())
        text = Formats::shortDate(date);
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    if (isEnter(event) && !refusal().isEmpty()) {
        event->accept();
        Dialogs::warning(this, refusal());
        return;
    }
    const QLineEdit* edit = lineEdit();
    const int at = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    // The field moves on to the next part by itself once a part is full: the separator typed
    // after it is then already behind the cursor.
    if (event->text() == QLatin1String("/") && at > 0 && edit->text().at(at - 1) == QLatin1Char('/')) {
        event->accept();
        return;
    }
    // A digit that would make a whole date of a month no year has is refused, saying why.
    if (event->text().size() == 1 && event->text().front().isDigit()) {
        QString typed = edit->text();
        typed.replace(at, edit->selectedText().size(), event->text());
        int pos = at + 1;
        QString reason;
        if (wholeDateForm().match(typed).hasMatch() && validate(typed, pos) == QValidator::Invalid
            && !Formats::readShortDate(typed, &reason).isValid()) {
            event->accept();
            Dialogs::warning(this, reason);
            return;
        }
    }
    QDateEdit::keyPressEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent* event)
{
    // The date field would show its last date again; a refused text stays to be mended.
    if (!refusal().isEmpty()) {
        QAbstractSpinBox::focusInEvent(event);
        return;
    }
    QDateEdit::focusInEvent(event);
}

void DatePicker::focusOutEvent(QFocusEvent* event)
{
    if (refusal().isEmpty()) {
        QDateEdit::focusOutEvent(event);
        return;
    }
    // Not read back into the last date: the line keeps the text, the field takes the focus back.
    QCoreApplication::sendEvent(lineEdit(), event);
    QWidget::focusOutEvent(event);
    // The focus also leaves for a message box or the calendar: nothing was left then.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    QTimer::singleShot(0, this, &DatePicker::keepFocusAndSayWhy);
}

void DatePicker::keepFocusAndSayWhy()
{
    const bool told = told_ == text();
    told_.clear();
    if (refusal().isEmpty() || !isVisible() || !isEnabled())
        return;
    setFocus(Qt::OtherFocusReason);
    if (!told)
        Dialogs::warning(this, refusal());
}

TimePicker::TimePicker(QWidget* parent) : QTimeEdit(parent)
{
    setDisplayFormat(Formats::toQtFormat(QString::fromLatin1(Formats::LongTimePattern)));
    setTime(QTime(0, 0));
}
