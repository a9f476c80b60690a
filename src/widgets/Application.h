// The application object: title, the default exception handler, the beep,
// the hint of the control under the mouse, and the program's own folder.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "core/Exception.h"

namespace tsb {

class TApplication {
public:
    static TApplication& Instance();

    std::string Title = "Tresselby Application";

    // Shows the exception's message in a message box titled with the
    // application title; the message loop then goes on. A message that does
    // not end in punctuation gets a full stop, as the classic handler does.
    void HandleException(const std::exception& e);
    void HandleException(const std::string& message);
    // Hands the message to HandleException on a later turn of the event
    // loop, for errors met where no window may open (while painting).
    // Messages that come while one waits or is shown are dropped: a failure
    // that recurs at every paint is reported once, not stacked.
    void HandleExceptionLater(const std::string& message);

    // Replaces the message box, for tests and for the command-line tools.
    // Pass an empty function to restore the message box.
    std::function<void(const std::string&)> OnException;

    // The system's default beep. Counted, so tests can see it.
    void Beep();
    int BeepCount = 0;

    // The hint shown for the control under the mouse.
    void SetHint(const std::string& hint);
    const std::string& Hint() const { return FHint; }
    std::function<void(const std::string&)> OnHint;
    // Follows the mouse over plain widgets, which carry their hint in the
    // dynamic property "hint"; windowed controls report their own.
    void InstallHintTracking();

    // Folder of the running program, with a trailing separator.
    static std::string ExeFolder();

private:
    std::string FHint;
    bool FReportPending = false;
};

inline TApplication& Application() {
    return TApplication::Instance();
}

// Runs a handler called from a Qt entry point; any exception goes to the
// application's default handler and never crosses into Qt.
template <typename F> void Guarded(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        Application().HandleException(e);
    } catch (...) {
        Application().HandleException(std::string("Unknown error"));
    }
}

} // namespace tsb
