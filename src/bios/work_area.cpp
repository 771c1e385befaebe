#include "bios/work_area.h"

#include "machine/disk_system.h"

namespace disk {

std::uint8_t ReadGuestByte(const DiskSystem& system, std::uint32_t linear) {
  return system.readByteLinear != nullptr ? system.readByteLinear(linear) : 0;
}

void WriteGuestByte(const DiskSystem& system, std::uint32_t linear, std::uint8_t value) {
  if (system.writeByteLinear != nullptr) system.writeByteLinear(linear, value);
}

void WriteGuestWord(const DiskSystem& system, std::uint32_t linear, std::uint16_t value) {
  WriteGuestByte(system, linear, static_cast<std::uint8_t>(value));
  WriteGuestByte(system, linear + 1, static_cast<std::uint8_t>(value >> 8));
}

void WriteFarPointer(const DiskSystem& system, std::uint32_t linear, std::uint16_t segment,
                     std::uint16_t offset) {
  WriteGuestWord(system, linear, offset);
  WriteGuestWord(system, linear + 2, segment);
}

}  // namespace disk
