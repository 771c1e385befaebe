// The disk BIOS of one machine: INT 1Bh, which sends hard-disk calls to the drive at once, floppy
// calls through the two-step floppy call (bios/floppy_call.h) and every other device class to a
// handler another module registered; the service of the floppy controller's interrupt (INT 12h
// and INT 13h); and the extension through which other modules register those handlers. It works
// on the parts of the root object it is given and owns what only it uses.
#pragma once

#include <cstdint>

#include "bios/devices.h"
#include "bios/floppy_call.h"
#include "bios/host_link.h"
#include "chips/floppy_controller.h"
#include "media/drive_settings.h"
#include "platform/host_abi.h"

namespace disk {

class DiskBios {
 public:
  // Wires the controllers to the host's guest memory and interrupt function, and makes a guest's
  // command at the floppy ports wait for a floppy worker that has one of the drives.
  DiskBios(HostLink& host, Devices& devices, const DriveSettings& settings);
  virtual ~DiskBios();  // waits for a floppy worker still running
  DiskBios(const DiskBios&) = delete;
  DiskBios& operator=(const DiskBios&) = delete;

  HostLink& host;
  Devices& devices;
  const DriveSettings& settings;
  Callback<int> lightLamp;  // the hard disks' access lamps: kFirstHardDiskPath + unit
  // FdWaitCount of floppy drives 1 and 2: ticks the pending call still waits with FDWAIT on.
  std::uint32_t fdWaitCount[kFloppyUnitCount] = {};
  MhwDiskBiosExtension biosExtension = {};
  FloppyCallState floppyCall;
};

// INT 1Bh, every AH: 0x200 or 0x201 (carry clear or set), 0x100 (no carry result), or 1 for
// hard-disk units 2 and 3.
std::uint32_t DiskBiosHandler(DiskBios& bios);
// INT 12h and INT 13h: the controller's results go into the unit's eight result bytes of the work
// area, and the unit's bit into the interrupt flags the BIOS calls wait on. Returns 0x100.
std::uint32_t FloppyInterruptService(DiskBios& bios);
// 1 when the handler was taken for the DA byte's device class; the classes this module serves
// itself and a class already taken are refused with 0.
std::uint32_t RegisterDiskBiosHandler(DiskBios& bios, std::uint32_t da, MhwDiskBiosHandler handler);

}  // namespace disk
