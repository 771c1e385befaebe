// The hard-disk image formats (MHD, HDI, ZHD), recognised from the first bytes of the file, and
// the checks that decide whether a geometry can be mounted. Pure: bytes in, geometry and verdicts
// out.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/image_info.h"

namespace disk {

struct HardDiskGeometry {
  ImageFormat format = ImageFormat::kZhd;
  std::uint32_t dataOffset = 0;  // file offset of the first sector
  std::uint16_t cylinders = 0;
  std::uint8_t heads = 0;
  std::uint8_t sectors = 0;  // per track
  std::uint16_t sectorSize = 0;
};

inline constexpr std::uint32_t kHardDiskHeaderRead = 512;  // bytes looked at to recognise a file

struct HardDiskFormat {
  const char* name;
  ImageFormat format;
  // Given the image's first kHardDiskHeaderRead bytes.
  bool (*identify)(const std::uint8_t* header);
  HardDiskGeometry (*load)(const std::uint8_t* header);
};

// MHD, HDI, ZHD: the first that identifies an image gives its geometry. ZHD carries no
// signature and takes every file.
std::span<const HardDiskFormat> HardDiskFormats();

bool IsMhd(const std::uint8_t* header);
HardDiskGeometry MhdGeometry(const std::uint8_t* header);
bool IsHdi(const std::uint8_t* header);
HardDiskGeometry HdiGeometry(const std::uint8_t* header);
inline constexpr std::uint32_t kHdiHeaderSize = 4096;
// The header of an HDI image of the geometry, its sectors to follow.
void BuildHdiHeader(const HardDiskGeometry& geometry, std::uint8_t (&header)[kHdiHeaderSize]);
bool IsZhd(const std::uint8_t* header);
HardDiskGeometry ZhdGeometry(const std::uint8_t* header);

// Reads the geometry from the first 512 bytes of an image. There is no failure: a file that is
// neither MHD nor HDI is taken as ZHD, which carries no signature.
HardDiskGeometry RecognizeHardDiskImage(const std::uint8_t (&header)[kHardDiskHeaderRead]);

// Why an image is not mounted; kNone when it is.
enum class HardDiskRefusal {
  kNone,
  kShortFile,      // shorter than the header that is read to recognise it
  kZeroCylinders,  // MHD and HDI only: a ZHD stores nothing else to check
  kZeroHeads,
  kZeroSectors,
  kSectorSize,  // not 256, 512, 1024 or 2048
  kPast4GiB,    // a guest's sector position is 32 bits: beyond, writes would wrap onto the disk
};

// The end of the last sector the geometry describes, from the start of the file.
std::uint64_t GeometryEnd(const HardDiskGeometry& geometry);
// The first reason, in the order of the enum, that the geometry cannot be mounted.
HardDiskRefusal CheckHardDiskGeometry(const HardDiskGeometry& geometry);
// A short plain-English reason for a report line, such as "zero heads".
std::string HardDiskRefusalText(HardDiskRefusal refusal, const HardDiskGeometry& geometry);

// True when the geometry describes far more than the file holds: more than twice the file's
// sector data plus 1 MiB. A ZHD file that is no hard-disk image at all (a floppy dump picked by
// mistake) takes its cylinder count from whatever its first bytes are, and one write at its far
// end grows the file to that size. An image holding at least half of its disk, or a tiny one
// that is mostly header, passes.
bool GeometryFarExceedsFile(const HardDiskGeometry& geometry, std::uint64_t fileSize);

}  // namespace disk
