#pragma once

#include <QObject>
#include <QString>
#include <concepts>
#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

// The program's default error handler: every user action runs inside guarded(). An error it
// raises (CorvelError, a database error, any std::exception) is shown in a message box with its
// own text and abandons the action. Returns true when the action completed.
bool guarded(QWidget* parent, const std::function<void()>& action);

// Shows an error text the way the handler does.
void showError(QWidget* parent, const QString& text);

// A handler of `Page` for a signal with arguments `Args`: a member function of the page, or any
// other callable, taking the signal's first arguments or none.
template <typename Handler, typename Page, typename... Args>
concept PageHandler = (std::is_member_function_pointer_v<Handler> && std::invocable<const Handler&, Page*, Args...>)
                      || (!std::is_member_function_pointer_v<Handler> && std::invocable<const Handler&, Args...>);

// How a page connects a control's signal to its handler: the handler runs inside guarded(), so
// an error it raises is shown and abandons the action. Handlers themselves raise errors freely.
//   connectGuarded(ui->btnOK, &QPushButton::clicked, this, &TfrmMember::btnOKClick);
template <typename Sender, typename Signal, typename Page, typename Handler>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Page* page, Handler handler)
{
    return QObject::connect(sender, signal, page, [page, handler](auto&&... args)
                                requires PageHandler<Handler, Page, decltype(args)...>
    {
        guarded(page, [&] {
            if constexpr (std::is_member_function_pointer_v<Handler>)
                std::invoke(handler, page, std::forward<decltype(args)>(args)...);
            else
                std::invoke(handler, std::forward<decltype(args)>(args)...);
        });
    });
}

// Runs `formShow` inside guarded() when `page` is shown for the first time.
void callOnFirstShow(QWidget* page, std::function<void()> formShow);
