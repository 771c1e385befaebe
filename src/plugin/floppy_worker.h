// FloppyBiosWorker: the thread that serves one floppy BIOS call (a long transfer, a real drive,
// a track format) while the emulation thread goes on.
#pragma once

#include <cstdint>

namespace disk {

class DiskSystem;

// Runs the floppy operation held in the saved registers on the drive that AL names; the low
// byte of its result, nonzero on success.
std::uint8_t RunFloppyOperation(DiskSystem& system);

// Sets workerRunning and starts the worker on the saved registers. Without a thread to be had
// the call is served at once instead, rather than leave the guest waiting for ever.
void StartFloppyBiosWorker(DiskSystem& system);

}  // namespace disk
