#include "ErrorHandler.h"

#include "CorvelError.h"
#include "Dialogs.h"

#include <QEvent>
#include <QWidget>
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

namespace {

// Watches a page for its first show, then runs the page's show handler once.
class FirstShowWatcher : public QObject {
public:
    FirstShowWatcher(QWidget* page, std::function<void()> formShow)
        : QObject(page), page_(page), formShow_(std::move(formShow))
    {
        page->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == page_ && event->type() == QEvent::Show && !event->spontaneous()) {
            page_->removeEventFilter(this);
            guarded(page_, formShow_);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* page_;
    std::function<void()> formShow_;
};

}  // namespace

void callOnFirstShow(QWidget* page, std::function<void()> formShow)
{
    new FirstShowWatcher(page, std::move(formShow));
}
