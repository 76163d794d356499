#pragma once

#include <exception>

namespace platform {

class Dialogs;

// The general error report: a failure that no handler caught is shown in a message box titled
// "Stackle", its message followed by a full stop unless it ends in one, with an error icon and
// "OK".
void ReportError(Dialogs& dialogs, const std::exception& error);

// Runs action; a failure it raises is shown by the general error report instead of passed on,
// so that no failure ever crosses Qt's event and signal machinery.
template <typename Action> void ReportFailure(Dialogs& dialogs, Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        ReportError(dialogs, error);
    }
}

// A handler of object for a Qt signal, run through ReportFailure.
template <typename Object, typename... Args>
auto Reported(Dialogs& dialogs, Object* object, void (Object::*handler)(Args...))
{
    return [&dialogs, object, handler](Args... args) { ReportFailure(dialogs, [&] { (object->*handler)(args...); }); };
}

} // namespace platform
