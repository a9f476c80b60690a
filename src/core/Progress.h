// Long work (export, open, save, paste, building printed pages) tells how
// far it has come through a progress object, and is stopped through it: a
// step raises ECancelled once the user asked to stop. Work that is given no
// progress object runs as it always did.
#pragma once

#include <cstdint>

#include "core/Exception.h"

namespace tsb {

// Work stopped at the user's request; whatever it was making is discarded.
class ECancelled : public Exception {
public:
    ECancelled() : Exception("Operation cancelled") {}
};

class TProgress {
public:
    virtual ~TProgress() = default;
    // `done` of `total` units so far. Raises ECancelled to stop the work.
    // Called often: an implementation keeps it cheap.
    virtual void Step(std::int64_t done, std::int64_t total) = 0;
};

// Steps a progress object that may be null.
inline void StepProgress(TProgress* progress, std::int64_t done, std::int64_t total) {
    if (progress) progress->Step(done, total);
}

} // namespace tsb
