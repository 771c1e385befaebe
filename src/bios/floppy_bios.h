// The floppy operations of the disk BIOS (INT 1Bh with a floppy DA/UA).
#pragma once

#include <cstdint>

namespace disk {

class FloppyController;
class FloppyDrive;
struct HostLink;

// Serves the call held in the drive's register block (the saved copy of the guest's registers):
// AL, AH, BX, CX, DX, ES:BP in, results written back there and into the controller's registers,
// whose interrupt function it calls at the end. The low byte of the result is nonzero on
// success. Callable on any thread that has the drive and the controller to itself. Guest memory
// is reached through `host`.
std::uint32_t ExecuteBiosCall(const HostLink& host, FloppyDrive& drive, FloppyController& fdc);

// Loads the boot program of the disk in the drive into guest memory through a BIOS read and
// starts there (the live registers' CS:IP), marking the boot media in the work area and the
// controller's interface; true on success.
bool LoadBootSector(HostLink& host, FloppyController& fdc, FloppyDrive& drive);

}  // namespace disk
