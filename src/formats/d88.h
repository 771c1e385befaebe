// D88 (also D98): a header of track offsets, each track a run of sectors with a 16-byte head in
// front of its data. Read only: the module never writes these images. A D88 file may hold several
// disks one after another, each with its own header; the drives take only a file of one disk.
#pragma once

#include <cstdint>

#include "formats/floppy_tables.h"
#include "formats/image_reader.h"

namespace disk {
namespace d88 {

inline constexpr std::uint32_t kHeaderSize = 688;
inline constexpr std::uint32_t kNameSize = 17;
inline constexpr std::uint32_t kWriteProtectOffset = 0x1A;
inline constexpr std::uint8_t kProtected = 0x10;
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

}  // namespace disk
