// The geometry rules of floppy tracks: the size of a sector's size code N, and the media type
// byte of a track, whose high nibble is the class the BIOS compares with the class of the DA/UA
// byte.
#pragma once

#include <cstdint>

namespace disk {

inline constexpr std::uint32_t kSectorSizes[7] = {128, 256, 512, 1024, 2048, 4096, 8192};
inline constexpr std::uint32_t kLargestSector = 8192;

// 128 << N for N = 0 to 6; every larger N counts as 8192.
constexpr std::uint32_t SectorSize(std::uint8_t n) {
  return n < 7 ? kSectorSizes[n] : kLargestSector;
}

inline constexpr std::uint8_t kMedia640K = 0x10;  // 640 KB class
inline constexpr std::uint8_t kMedia144 = 0x30;   // 1.44 MB class
inline constexpr std::uint8_t kMedia1M = 0x90;    // 1 MB class

// The media type of a track of sectorsPerTrack sectors of size code n; mfm nonzero = MFM.
std::uint8_t MediaTypeFor(std::uint8_t n, std::uint32_t sectorsPerTrack, std::uint8_t mfm);

struct SectorRecord;

// The media type an MFD R1 track derives for records that store none: that of its largest
// sector, with `count` (its number of records, empty places included) sectors per track and the
// density of its last record. `count` is above 0.
std::uint8_t TrackMediaType(const SectorRecord* records, std::uint32_t count);

}  // namespace disk
