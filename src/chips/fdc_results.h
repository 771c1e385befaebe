// Helpers the command engine shares: the result codes and the sector length rule.
#pragma once

#include <cstdint>

#include "chips/floppy_controller.h"
#include "formats/floppy_geometry.h"

namespace disk::fdc {

// Result bytes of a command; `headBit` is 0 for commands whose ST0 carries no HD bit.
inline void NormalEnd(FloppyController& c, std::uint8_t headBit) {
  c.st0 = static_cast<std::uint8_t>(headBit | c.unit);
  c.st1 = 0;
  c.st2 = 0;
}
inline void AbnormalEnd(FloppyController& c, std::uint8_t headBit, std::uint8_t st1) {
  c.st0 = static_cast<std::uint8_t>(headBit | c.unit | st0::kAbnormalEnd);
  c.st1 = st1;
  c.st2 = 0;
}
inline void NotReadyEnd(FloppyController& c, std::uint8_t headBit) {
  c.st0 = static_cast<std::uint8_t>(headBit | c.unit | st0::kNotReadyResult);
  c.st1 = 0;
  c.st2 = 0;
}

// Bytes a sector of size code n moves: with N = 0 the data length register counts when it is
// below 0x80.
inline std::uint32_t TransferLength(std::uint8_t n, std::uint8_t dtl) {
  if (n == 0 && dtl < 0x80) return dtl;
  return SectorSize(n);
}

}  // namespace disk::fdc
