// Mounting the drives from DiskSystem's image paths, and booting from the first bootable one.
#pragma once

#include <cstdint>

namespace disk {

class DiskSystem;

// The high nibble the host's boot selector returns: 0x00 any device; 0xA0 / 0xB0 hard disk 1 /
// 2; 0x20 / 0x40 floppy drives. 0 when the host offered no selector.
std::uint8_t BootSelector(const DiskSystem& system);

// Unit 1, then unit 0. A path that does not mount is emptied.
void MountHardDisks(DiskSystem& system, std::uint8_t selector);
void MountFloppyDrives(DiskSystem& system, std::uint8_t selector);

void ResetFloppyDrives(DiskSystem& system);
void EjectFloppyDrives(DiskSystem& system);

}  // namespace disk
