#pragma once

#include <QChar>
#include <QValidator>
#include <functional>

class QLineEdit;

// What a text field takes as typed: letters upper-cased when asked, and only the characters
// `allowed` accepts (every character when it is empty). Text set by the program is not checked.
class KeyFilterValidator : public QValidator {
public:
    using Allowed = std::function<bool(QChar)>;
    KeyFilterValidator(bool upperCase, Allowed allowed, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    bool upperCase_;
    Allowed allowed_;
};

// Typing into `edit` gives capitals.
void typeInCapitals(QLineEdit* edit);

bool isDecimalDigit(QChar c);
