// MHD hard-disk images: a header with a signature, a comment and the geometry, then the sectors
// in order from the header size on.
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
inline constexpr std::uint32_t kHeaderSize = 512;        // the header of new images

}  // namespace mhd
}  // namespace disk
