#include "KeyFilter.h"

#include <QLineEdit>

KeyFilterValidator::KeyFilterValidator(bool upperCase, Allowed allowed, QObject* parent)
    : QValidator(parent), upperCase_(upperCase), allowed_(std::move(allowed))
{
}

QValidator::State KeyFilterValidator::validate(QString& input, int& /*pos*/) const
{
    if (upperCase_)
        input = input.toUpper();
    if (allowed_)
        for (const QChar c : input)
            if (!allowed_(c))
                return Invalid;
    return Acceptable;
}

void typeInCapitals(QLineEdit* edit)
{
    edit->setValidator(new KeyFilterValidator(true, {}, edit));
}

bool isDecimalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
