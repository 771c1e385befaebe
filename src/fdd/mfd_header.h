// The fixed part shared by both revisions of the MFD header: signature, comment, header size
// and write-protect byte, then the track table (R0: the records, R1: the block offsets).
#pragma once

#include <cstdint>

namespace disk {

class FloppyDrive;

namespace mfd {

inline constexpr std::uint32_t kCommentOffset = 0x10;
inline constexpr std::uint32_t kCommentSize = 256;
inline constexpr std::uint32_t kHeaderSizeOffset = 0x110;
inline constexpr std::uint32_t kWriteProtectOffset = 0x114;
inline constexpr std::uint32_t kVersionByteOffset = 0x115;  // written as 2, never read
inline constexpr std::uint32_t kTrackTableOffset = 0x120;
inline constexpr std::uint32_t kRecordSize = 16;  // sector, special and block-head records

}  // namespace mfd

// Takes comment and write protection from a header and marks the disk as an MFD image of the
// given revision, which a track format rewrites.
void ApplyMfdHeader(FloppyDrive& drive, const std::uint8_t* header, std::uint32_t revision);

}  // namespace disk
