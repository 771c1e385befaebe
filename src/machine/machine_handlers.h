// What the machine does on the host's events. The handlers the module registers with the host
// are called with nothing that says which module they belong to; they pass their instance here.
#pragma once

#include <cstdint>

namespace disk {

class DiskSystem;

void ResetDevices(DiskSystem& system);  // with the drive report
void BiosStartup(DiskSystem& system);   // work area, parameter tables, mounting and booting
void PowerOff(DiskSystem& system);
void PeriodicTick(DiskSystem& system);  // delayed mounts, FDWAIT and the controller's timing
// The module's part of a machine snapshot: the four image paths and the floppy heads.
void SaveState(DiskSystem& system, std::uint8_t* buffer);
std::uint32_t LoadState(DiskSystem& system, const std::uint8_t* buffer);  // 1 taken, 0 refused

}  // namespace disk
