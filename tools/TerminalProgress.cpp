#include "TerminalProgress.h"

#include <cstdio>

namespace tsbtool {

namespace {

volatile std::sig_atomic_t Caught = 0;

extern "C" void OnSignal(int signal) {
    Caught = signal;
}

} // namespace

void TTerminalProgress::CatchSignals() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND; // a second signal is not caught
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int TTerminalProgress::Signal() {
    return Caught;
}

TTerminalProgress::TTerminalProgress(std::string action, bool shown)
    : FAction(std::move(action)), FShown(shown) {}

TTerminalProgress::~TTerminalProgress() {
    Done();
}

void TTerminalProgress::Step(std::int64_t done, std::int64_t total) {
    if (Caught) throw tsb::ECancelled();
    if (!FShown || total <= 0) return;
    const TClock::time_point now = TClock::now();
    if (FDrawn && now - FDrawnAt < std::chrono::milliseconds(100)) return;
    FDrawnAt = now;
    FDrawn = true;
    if (done > total) done = total;
    const double seconds = std::chrono::duration<double>(now - FStart).count();
    std::string left = "";
    if (done > 0 && seconds >= 0.5) {
        const long remaining =
            static_cast<long>(seconds * double(total - done) / double(done) + 0.5);
        left = remaining >= 60 ? ", " + std::to_string(remaining / 60) + " min " +
                                     std::to_string(remaining % 60) + " s left"
                               : ", " + std::to_string(remaining) + " s left";
    }
    std::fprintf(stderr, "\r%s: %3d%%%s\033[K", FAction.c_str(), int(done * 100 / total),
                 left.c_str());
    std::fflush(stderr);
}

void TTerminalProgress::SetAction(std::string action) {
    FAction = std::move(action);
    FStart = TClock::now();
    FDrawn = false;
}

void TTerminalProgress::Done() {
    if (!FDrawn) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    FDrawn = false;
}

} // namespace tsbtool
