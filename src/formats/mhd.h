// MHD hard-disk images: a header with a signature, a comment and the geometry, then the sectors
// in order from the header size on. The module writes new ones: 512-byte header, 8 heads, 32
// sectors of 512 bytes per track, zero-filled.
#pragma once

#include <cstdint>

namespace disk {
namespace mhd {

inline constexpr char kSignature[] = "ZEBHDDIMAGE.R0";  // with its NUL: 15 bytes
inline constexpr std::uint32_t kCommentOffset = 16;
inline constexpr std::uint32_t kCommentSize = 256;
inline constexpr std::uint32_t kHeaderSizeOffset = 272;  // u32: where the sectors begin
inline constexpr std::uint32_t kCylindersOffset = 276;   // u32, the low 16 bits count
inline constexpr std::uint32_t kHeadsOffset = 280;       // u16, the low byte counts
inline constexpr std::uint32_t kSectorsOffset = 282;     // u16, the low byte counts
inline constexpr std::uint32_t kSectorSizeOffset = 284;  // u16

// New images.
inline constexpr std::uint32_t kHeaderSize = 512;
inline constexpr char kNewImageComment[] = "New HD Image";
inline constexpr std::uint32_t kNewHeads = 8;
inline constexpr std::uint32_t kNewSectors = 32;
inline constexpr std::uint32_t kNewSectorSize = 512;
inline constexpr std::uint32_t kNewCylinderBytes = kNewHeads * kNewSectors * kNewSectorSize;

}  // namespace mhd

// The header of a new image of `cylinders` cylinders.
void BuildNewMhdHeader(std::uint32_t cylinders, std::uint8_t (&header)[mhd::kHeaderSize]);

struct HardDiskGeometry;
// The header of an image of any geometry, its sectors to follow at mhd::kHeaderSize.
void BuildMhdHeader(const HardDiskGeometry& geometry, const char* comment,
                    std::uint8_t (&header)[mhd::kHeaderSize]);

}  // namespace disk
