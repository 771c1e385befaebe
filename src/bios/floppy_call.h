// The floppy call of the disk BIOS, which completes in two steps: the first INT 1Bh starts the
// operation (at once, or on the FloppyBiosWorker thread) and asks the host to run the interrupt
// again; a later run hands the operation's registers back once it is over and any FDWAIT delay
// has been counted down by the periodic tick.
#pragma once

#include <atomic>
#include <cstdint>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "platform/system.h"

namespace disk {

class DiskBios;

struct FloppyCallState {
  // A floppy call has started and not yet been handed back. Emulation thread only.
  std::uint32_t callPending = 0;
  unsigned unit = 0;  // floppy unit of the pending call
  // FloppyBiosWorker has not finished. The worker clears it (release) after storing what it
  // produced; the emulation thread tests it (acquire) before taking any of that.
  std::atomic<std::uint32_t> workerRunning{0};
  std::uint8_t resultByte = 0;  // low byte of the operation's result; nonzero = success
  platform::Thread worker;

  // A call on the worker has the drive of `unit` lent to it until the emulation thread takes it
  // back (set and cleared on the emulation thread only). The worker works on copies of the two
  // controllers' registers, so that the ports and the periodic tick go on with the real ones;
  // what it changed is taken over when it is done, and the interrupt it raised is raised then.
  bool lent = false;
  FloppyController workingFdc, fdcAtStart;
  DmaController workingDma, dmaAtStart;
  bool interruptHeld = false;  // set by the worker
  std::uint32_t heldLine = 0;
  // Where the lent drive's head stood when it was lent, for whoever asks meanwhile.
  std::uint8_t lentCylinder = 0, lentSide = 0;
};

// The floppy procedure of INT 1Bh for a floppy DA/UA; returns the handler's result.
std::uint32_t FloppyBiosCall(DiskBios& bios);

// Drops a pending floppy call (reset, BIOS start-up, power-off, snapshot load, unloading). A
// worker still running is waited for first rather than left to finish on its own: it works on
// the drive and the saved registers, which whatever follows is about to reset or reuse, so a
// late result could land in a later call. The wait lasts one floppy operation; what the worker
// did to the controllers' registers is dropped with the call.
void ForgetPendingFloppyCall(DiskBios& bios);

}  // namespace disk
