// Runs a function when the scope ends, however it ends: for state that must
// be put back also when an exception passes.
#pragma once

#include <utility>

namespace tsb {

template <typename F> class TScopeExit {
public:
    explicit TScopeExit(F f) : FExit(std::move(f)) {}
    ~TScopeExit() { FExit(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F FExit;
};

} // namespace tsb
