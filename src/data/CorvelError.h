#pragma once

#include <QString>
#include <stdexcept>

// The error that logic raises to abandon a user action. Its text is shown as it stands by the
// program's error handler (see ErrorHandler.h).
class CorvelError : public std::runtime_error {
public:
    explicit CorvelError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const noexcept { return text_; }

private:
    QString text_;
};

// An error of the database engine, with a text a user can read.
class DbError : public CorvelError {
public:
    using CorvelError::CorvelError;
};
