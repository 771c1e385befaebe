// The floppy call of the disk BIOS, which completes in two steps: the first INT 1Bh starts the
// operation (at once, or on the FloppyBiosWorker thread) and asks the host to run the interrupt
// again; a later run hands the operation's registers back once it is over and any FDWAIT delay
// has been counted down by the periodic tick.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/system.h"

namespace disk {

class DiskSystem;

struct FloppyCallState {
  // A floppy call has started and not yet been handed back. Emulation thread only.
  std::uint32_t callPending = 0;
  unsigned unit = 0;  // floppy unit of the pending call
  // FloppyBiosWorker has not finished. The worker clears it (release) after storing resultByte;
  // the emulation thread tests it (acquire) before reading resultByte or the saved registers.
  std::atomic<std::uint32_t> workerRunning{0};
  std::uint8_t resultByte = 0;  // low byte of the operation's result; nonzero = success
  platform::Thread worker;
};

// The floppy procedure of INT 1Bh for a floppy DA/UA; returns the handler's result.
std::uint32_t FloppyBiosCall(DiskSystem& system);

// Drops a pending floppy call (reset, BIOS start-up, power-off, snapshot load, unloading). A
// worker still running is waited for first rather than left to finish on its own: it works on
// the drive, the controller and the saved registers, which whatever follows is about to reset or
// reuse, so a late result could land in a later call. The wait lasts one floppy operation.
void ForgetPendingFloppyCall();

// True while FloppyBiosWorker runs; what it works on is left alone meanwhile.
bool FloppyWorkerBusy(const DiskSystem& system);

}  // namespace disk
