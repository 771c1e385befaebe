// Raw access to a real floppy drive of the computer, by drive letter ('A' is the first drive).
#pragma once

#include <cstdint>

namespace platform {

// The device a drive letter stands for. The environment variable DISK_RAW_DRIVE_<letter> (for
// example DISK_RAW_DRIVE_A=/path) names any device or plain file instead; otherwise Windows uses
// the volume "\\.\A:" and POSIX systems the block device /dev/fd0 for A, /dev/fd1 for B, and so
// on. False when the letter is not one.
bool RawVolumePath(char letter, char* path, std::uint32_t size);
// The platform's own choice for an upper-case letter, used when no variable is set.
bool DefaultRawVolumePath(char letter, char* path, std::uint32_t size);

// One transfer of count bytes at byte position `position` of the drive's medium: the volume is
// opened for this transfer alone, unbuffered where the platform allows it, and closed again.
// True when every byte moved.
bool ReadRawVolume(char letter, std::uint32_t position, void* buffer, std::uint32_t count);
bool WriteRawVolume(char letter, std::uint32_t position, const void* buffer, std::uint32_t count);

// The Windows 9x path: the absolute disk read (write = false) or write service of the VWIN32
// device for `sectors` sectors from `startSector` of drive number `drive` (0 = A). True unless
// the service fails or reports an error; false on every other platform.
bool Vwin32DiskTransfer(std::uintptr_t vwin32, bool write, std::uint32_t drive,
                        std::uint32_t startSector, std::uint32_t sectors, void* buffer);

}  // namespace platform
