#pragma once

#include "AppError.h"
#include "MessageBox.h"

#include <exception>
#include <new>
#include <utility>

// Wraps a handler so that no exception crosses the event loop: an AppError
// is reported in a message box, anything else in a generic one; the handler
// has stopped at the failing step and the program goes on.
template<typename Handler>
auto guarded(MessageBox &box, Handler handler)
{
    // The return type lets a signal drop the arguments the handler does not take.
    return [&box, handler = std::move(handler)](auto &&...args)
               -> decltype(std::declval<const Handler &>()(std::forward<decltype(args)>(args)...), void()) {
        try {
            handler(std::forward<decltype(args)>(args)...);
        } catch (const AppError &e) {
            box.show(e.message());
        } catch (const std::bad_alloc &) {
            box.show(QStringLiteral("Memoria insufficiente: l'operazione non è stata completata."));
        } catch (const std::exception &e) {
            box.show(QStringLiteral("Errore imprevisto: %1").arg(QString::fromLocal8Bit(e.what())));
        }
    };
}

// The two colour-chooser handlers end quietly on any error instead.
template<typename Handler>
void quietly(Handler &&handler)
{
    try {
        handler();
    } catch (const std::exception &) {
    }
}
