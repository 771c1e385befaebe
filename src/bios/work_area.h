// The guest's BIOS work area as the disk subsystem uses it: byte addresses in the first
// megabyte, read and written one byte at a time through the host's linear access
// (bios/guest_memory.h).
#pragma once

#include <cstdint>

namespace disk {

namespace work_area {
inline constexpr std::uint32_t kSystemFlags480 = 0x480;
inline constexpr std::uint32_t kSystemFlags484 = 0x484;
inline constexpr std::uint32_t kDiskEquipment493 = 0x493;
inline constexpr std::uint32_t kBiosFlags500 = 0x500;
inline constexpr std::uint32_t kFloppyUnits = 0x55C;      // floppy units present
inline constexpr std::uint32_t kHardDiskUnits = 0x55D;    // bit n: hard disk unit n present
inline constexpr std::uint32_t kFloppyInterrupt = 0x55E;  // bit n: unit n's interrupt came
inline constexpr std::uint32_t kFloppyInterrupt640 = 0x55F;
inline constexpr std::uint32_t kFloppyResults = 0x564;  // eight result bytes per unit
inline constexpr std::uint32_t kFloppyResultSize = 8;
inline constexpr std::uint32_t kBootDevice = 0x584;  // DA/UA the machine booted from
inline constexpr std::uint32_t kFloppyEquipment5AE = 0x5AE;
inline constexpr std::uint32_t k640KParameterTable = 0x5CC;  // far pointer: offset, segment
inline constexpr std::uint32_t kFirstShortTable = 0x5E8;
inline constexpr std::uint32_t kSecondShortTable = 0x5EC;
inline constexpr std::uint32_t k1MParameterTable = 0x5F8;
}  // namespace work_area

}  // namespace disk
