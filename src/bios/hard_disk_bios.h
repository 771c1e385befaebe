// The hard disks in the disk BIOS: mounting with the unit marked present in the work area, the
// boot program, and the INT 1Bh calls, served at once on the image file.
#pragma once

namespace disk {

class HardDiskDrive;
struct HostLink;

// OpenImage, and on success the unit's bit in the work area's hard-disk byte.
bool MountHardDisk(const HostLink& host, HardDiskDrive& drive, const char* path);
// Loads the disk's first 1024 bytes to 1FC0:0000 as the boot program and starts there.
bool BootFromHardDisk(const HostLink& host, HardDiskDrive& drive);
// Serves the INT 1Bh call in the drive's `registers`; false means carry set (AH holds the status).
bool ServeHardDiskCall(const HostLink& host, HardDiskDrive& drive);

}  // namespace disk
