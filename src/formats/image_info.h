// What an image file says of itself: its format, comment, write protection, geometry and, for
// D88 files, how many disks it holds. For the status panel's dialogs and for tools.
#pragma once

#include <cstdint>

#include "formats/image_reader.h"

namespace disk {

enum class ImageFormat { kUnknown, kMfdR0, kMfdR1, kHeaderless, kD88, kMhd, kHdi, kZhd };

// Which kind of drive the image is meant for: the formats are told apart differently (a ZHD
// image carries no signature, so any file is one when a hard disk takes it).
enum class Medium { kFloppy, kHardDisk };

struct ImageInfo {
  ImageFormat format = ImageFormat::kUnknown;
  const char* formatName = "unknown";
  bool mountable = false;  // a drive takes the image as it is
  char comment[256] = {};  // the comment or disk name, as the drive holds it
  bool writeProtect = false;
  std::uint32_t diskCount = 0;  // disks in the file; more than one only in D88 files
  // Hard disks: as the header states. Floppies: the cylinders and sides up to the last track
  // that holds sectors, the most sectors on one track and the largest sector.
  std::uint32_t cylinders = 0;
  std::uint32_t heads = 0;
  std::uint32_t sectorsPerTrack = 0;
  std::uint32_t sectorSize = 0;
};

// A file no format identifies comes back as kUnknown. Of a D88 file holding several disks, the
// first disk is described; such a file is not mountable.
ImageInfo Describe(ImageReader& reader, Medium medium);

}  // namespace disk
