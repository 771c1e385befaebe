// The state of a floppy BIOS call that completes in two steps.
#pragma once

namespace disk {

// Drops a pending floppy call (reset, BIOS start-up). A worker still running keeps running, but
// its result is discarded.
void ForgetPendingFloppyCall();

}  // namespace disk
