// Helpers of the undo tests: the bytes a save writes, and random steps of
// every kind through the editor's own commands.
#pragma once

#include <string>

#include "core/ClassInfo.h"

namespace tsb {
class TMainForm;
}

namespace tsbtest {

// The bytes Save writes for the diagram (every element selected while it
// is written, none afterwards).
tsb::TBytes SavedBytes(tsb::TMainForm* form);

} // namespace tsbtest
