#include "ErrorHandler.h"

#include "CorvelError.h"
#include "Dialogs.h"

#include <exception>
#include <new>

void showError(QWidget* parent, const QString& text)
{
    Dialogs::error(parent, text);
}

bool guarded(QWidget* parent, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const CorvelError& e) {
        showError(parent, e.text());
    } catch (const std::bad_alloc&) {
        showError(parent, QStringLiteral("Out of memory."));
    } catch (const std::exception& e) {
        showError(parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}
