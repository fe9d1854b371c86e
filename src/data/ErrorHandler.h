#pragma once

#include <QString>
#include <functional>

class QWidget;

// The program's default error handler: every user action runs inside guarded(). An error it
// raises (CorvelError, a database error, any std::exception) is shown in a message box with its
// own text and abandons the action. Returns true when the action completed.
bool guarded(QWidget* parent, const std::function<void()>& action);

// Shows an error text the way the handler does.
void showError(QWidget* parent, const QString& text);
