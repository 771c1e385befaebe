// FloppyBiosWorker: the thread that serves one floppy BIOS call (a long transfer, a real drive,
// a track format) while the emulation thread goes on. The call's drive is lent to it; the
// controllers' registers are not shared with it (it works on copies), and everything else it
// touches is either its own or read-only meanwhile.
#pragma once

#include <cstdint>

namespace disk {

class DiskBios;
class FloppyController;

// Runs the floppy operation held in the saved registers on the drive that AL names, with the
// controller `fdc` (none: the call fails); the low byte of its result, nonzero on success.
std::uint8_t RunFloppyOperation(DiskBios& bios, FloppyController* fdc);

// Lends the pending call's drive to a new worker and starts it on the saved registers. Without a
// thread to be had the call is served at once instead, rather than leave the guest waiting for
// ever.
void StartFloppyBiosWorker(DiskBios& bios);

// Takes back the drive of a worker that is done: its register changes go into the controllers
// and the interrupt it raised is raised now. With `wait`, a worker still running is waited for
// (one floppy operation); without, it is left alone.
void TakeBackFloppyWorker(DiskBios& bios, bool wait);

// Waits for a worker and takes its drive back, dropping its register changes and its interrupt.
void AbandonFloppyWorker(DiskBios& bios);

// The drive of `unit` is lent to the worker: the emulation thread leaves it alone.
bool DriveLentToWorker(const DiskBios& bios, unsigned unit);

// Where the head of floppy `unit` stands as the emulation thread may see it: for a lent drive,
// where it stood when it was lent.
struct HeadPosition {
  std::uint8_t cylinder;
  std::uint8_t side;
};
HeadPosition VisibleHead(const DiskBios& bios, unsigned unit);

}  // namespace disk
