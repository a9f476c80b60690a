// The editor's main window as the editor benchmarks use it: shown at
// 1600 x 1200, and one shared window with the large diagram open.
#pragma once

#include <memory>

namespace tsb {
class TMainForm;
} // namespace tsb

namespace tsbbench {

// Lets the windows paint what changed.
void Settle();

// A new, empty main window, shown at 1600 x 1200.
std::unique_ptr<tsb::TMainForm> NewWindow();

// The one window of the process with the large diagram open, made at the
// first call. It goes while the application object is still whole: a
// window destroyed after it, as a static would be, crashes on its way out.
tsb::TMainForm& LargeDiagramWindow();

} // namespace tsbbench
