// The converter's progress: one line on standard error, rewritten in place
// (what is being done, percent done, time left), at most ten times a
// second; and its way to stop: once SIGINT or SIGTERM has come, the next
// step raises ECancelled, so the file being written is discarded and the
// target stays as it was.
#pragma once

#include <chrono>
#include <csignal>
#include <string>

#include "core/Progress.h"

namespace tsbtool {

class TTerminalProgress : public tsb::TProgress {
public:
    // Catches SIGINT and SIGTERM from now on; a second one ends the process
    // at once.
    static void CatchSignals();
    // The signal that came, or 0.
    static int Signal();

    // Shows the line when `shown`; otherwise only answers signals.
    TTerminalProgress(std::string action, bool shown);
    ~TTerminalProgress() override;
    void Step(std::int64_t done, std::int64_t total) override;
    // The next piece of work, timed from now.
    void SetAction(std::string action);
    // Clears the line.
    void Done();

private:
    using TClock = std::chrono::steady_clock;
    std::string FAction;
    bool FShown;
    bool FDrawn = false;
    TClock::time_point FStart = TClock::now();
    TClock::time_point FDrawnAt;
};

} // namespace tsbtool
