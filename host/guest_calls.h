// INT 1Bh calls as mhwhost's checks make them, with one transfer buffer in guest memory.
#pragma once

#include <cstdint>

#include "reference_host.h"

namespace mhwhost {

inline constexpr std::uint16_t kBufferSegment = 0x2000;
inline constexpr std::uint32_t kBuffer = 0x20000;  // ES:BP = 2000:0000, room for 64 KiB

inline BiosResult Call(ReferenceHost& host, std::uint8_t al, std::uint8_t ah, std::uint16_t bx,
                       std::uint16_t cx, std::uint16_t dx) {
  return host.DiskBios(BiosCall::Of(al, ah, bx, cx, dx, kBufferSegment));
}

}  // namespace mhwhost
