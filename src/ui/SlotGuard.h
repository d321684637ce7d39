#pragma once

#include <QString>

#include <functional>
#include <type_traits>
#include <utility>

// Qt leaves an exception thrown through a slot or an event handler
// undefined, so every handler of the window is run through this guard: our
// own error (TarnwellError) ends the handler, is shown in the error box, and
// the program goes on with the next event. Any other exception is a fault
// and is not caught.

using ErrorReporter = std::function<void(const QString& message)>;
// The error box by default; tests put a recorder here.
void SetErrorReporter(ErrorReporter reporter);
// The error box (critical icon, OK) over the active window.
void ShowErrorBox(const QString& message);

// Runs handler; our error it throws is reported. False when it was.
bool RunGuarded(const std::function<void()>& handler);

// handler, for a connect: called with the signal's arguments when it takes
// them, else with none.
template <typename Handler> auto Guarded(Handler handler)
{
    return [handler = std::move(handler)](auto&&... arguments) {
        RunGuarded([&] {
            if constexpr (std::is_invocable_v<const Handler&, decltype(arguments)...>)
                handler(std::forward<decltype(arguments)>(arguments)...);
            else
                handler();
        });
    };
}

// A member handler of object, for a connect.
template <typename Object, typename Method> auto Guarded(Object* object, Method method)
{
    return [object, method](auto&&... arguments) {
        RunGuarded([&] {
            if constexpr (std::is_invocable_v<Method, Object*, decltype(arguments)...>)
                std::invoke(method, object, std::forward<decltype(arguments)>(arguments)...);
            else
                std::invoke(method, object);
        });
    };
}
