// The size rule of a sector's size code N, shared by everything that derives a size from N.
#pragma once

#include <cstdint>

namespace disk {

inline constexpr std::uint32_t kSectorSizes[7] = {128, 256, 512, 1024, 2048, 4096, 8192};
inline constexpr std::uint32_t kLargestSector = 8192;

// 128 << N for N = 0 to 6; every larger N counts as 8192.
constexpr std::uint32_t SectorSize(std::uint8_t n) {
  return n < 7 ? kSectorSizes[n] : kLargestSector;
}

}  // namespace disk
