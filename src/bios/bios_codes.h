// The disk BIOS's numbers, floppy and hard disk alike: the device classes of the DA/UA byte, the
// AH result codes and the hard disk's command codes. The floppy command codes are the image
// formats' (formats/floppy_tables.h), whose special read records answer them.
#pragma once

#include <cstdint>

#include "formats/floppy_tables.h"

namespace disk {

// The device class: the high nibble of the DA/UA byte (AL).
inline unsigned DeviceClass(std::uint8_t da) {
  return da >> 4;
}
// 0x0: linear sector numbers; 0x8: cylinder/head/sector.
inline bool IsHardDiskClass(unsigned nibble) {
  return nibble == 0x0 || nibble == 0x8;
}
// 0x1 and 0x7: 640 KB; 0x3: 1.44 MB; 0x9 and 0xB: 1 MB.
inline bool IsFloppyClass(unsigned nibble) {
  return nibble == 0x1 || nibble == 0x3 || nibble == 0x7 || nibble == 0x9 || nibble == 0xB;
}

// Where a boot program is loaded and started: segment 0x1FC0, or 0x1FE0 for a floppy of the
// 1.44 MB class or in FM.
inline constexpr std::uint16_t kBootSegment = 0x1FC0;
inline constexpr std::uint16_t kBootSegmentHigh = 0x1FE0;

// Result codes (AH).
namespace bios_status {
inline constexpr std::uint8_t kDone = 0x00;
// An unknown unit, device class or command, or a class the disk or the interface does not serve.
inline constexpr std::uint8_t kBadRequest = 0x40;
// No disk, or the image did not take a write (disk full, I/O error).
inline constexpr std::uint8_t kNotReady = 0x60;
inline constexpr std::uint8_t kWriteProtected = 0x70;
// A hard disk without an image, the command number added; hard-disk units 2 and 3 alone.
inline constexpr std::uint8_t kNoImage = 0x90;
inline constexpr std::uint8_t kNoSector = 0xC0;  // sector not found, or the walk ran off the track
inline constexpr std::uint8_t kWrongDensity = 0xE0;
}  // namespace bios_status

// The hard disk's command codes (AH & 0x0F).
namespace hard_disk_command {
inline constexpr std::uint8_t kVerify = 0x1;
inline constexpr std::uint8_t kWriteData = 0x2;
inline constexpr std::uint8_t kInitialize = 0x3;
inline constexpr std::uint8_t kSense = 0x4;
inline constexpr std::uint8_t kWriteData5 = 0x5;
inline constexpr std::uint8_t kReadData = 0x6;
inline constexpr std::uint8_t kRecalibrate = 0x7;
inline constexpr std::uint8_t kFormatTrack = 0xD;
inline constexpr std::uint8_t kSetMode = 0xE;
}  // namespace hard_disk_command

}  // namespace disk
