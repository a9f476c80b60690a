// The program's own resources: cursors, tool-bar images, default picture.
#pragma once

namespace tsb {

// Registers the compiled-in resources; safe to call more than once. Static
// libraries drop registrations that nothing refers to, so every user of a
// resource calls this first.
void InitResources();

} // namespace tsb
