// D88 (also D98): a header of track offsets, each track a run of sectors with a 16-byte head in
// front of its data. The drives only read these images; tools write them. A D88 file may hold
// several disks one after another, each with its own header; the drives take only a file of one
// disk.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/floppy_tables.h"
#include "formats/image_reader.h"

namespace disk {
namespace d88 {

inline constexpr std::uint32_t kHeaderSize = 688;
inline constexpr std::uint32_t kNameSize = 17;
inline constexpr std::uint32_t kWriteProtectOffset = 0x1A;
inline constexpr std::uint8_t kProtected = 0x10;
inline constexpr std::uint32_t kMediaOffset = 0x1B;  // 0x10 = 2DD, 0x20 = 2HD
inline constexpr std::uint8_t kMedia2DD = 0x10;
inline constexpr std::uint8_t kMedia2HD = 0x20;
inline constexpr std::uint8_t kDensityFm = 0x40;    // sector head byte 6; 0x00 = MFM
inline constexpr std::uint8_t kDeletedMark = 0x10;  // sector head byte 7
inline constexpr std::uint32_t kDiskSizeOffset = 0x1C;
inline constexpr std::uint32_t kTrackTableOffset = 0x20;
inline constexpr std::uint32_t kSectorHeadSize = 16;

}  // namespace d88

// A D88 image of one disk: the disk size its header states is the size of the file.
bool IsD88(const std::uint8_t* probe, ImageReader& reader);
bool LoadD88(ImageReader& reader, FloppyTables& tables);

// The number of disks a D88 file holds when their stated sizes add up to the file's size; 0 when
// they do not.
std::uint32_t D88DiskCount(ImageReader& reader);
// Where each of those disks begins; empty when the sizes do not add up.
std::vector<std::uint32_t> D88DiskStarts(ImageReader& reader);

// The tables as one D88 disk: the comment as its name (cut to 16 characters), the write
// protection, and on each track the sectors up to its first empty slot, each with the first copy
// of its data read from `data` at its data offset. What D88 does not hold is left out: repeat
// copies, special reads, ST0 to ST2 and the media type of each record.
std::vector<std::uint8_t> BuildD88Image(const FloppyTables& tables, ImageReader& data);

}  // namespace disk
