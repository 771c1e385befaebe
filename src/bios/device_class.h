// Device classes of the disk BIOS, by the high nibble of the DA/UA byte (AL).
#pragma once

#include <cstdint>

namespace disk {

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

}  // namespace disk
