// A plain look at an image file, without the module: whether it can be read at all, and what its
// first bytes and size say about its format, so that a disk the module refused gets a reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mhwhost {

struct ImageLook {
  std::string problem;  // why the file cannot be read; empty when it can
  std::uint64_t size = 0;
  std::vector<std::uint8_t> head;  // the first 4096 bytes, fewer in a shorter file
  bool readOnly = false;           // no write permission at all

  std::uint32_t U32(std::size_t at) const;  // 0 past the bytes read
};

ImageLook LookAt(const std::string& path);

struct FloppyShape {
  std::string format;   // "MFD R0", "D88", ...; empty when none fits
  std::string problem;  // too short, unknown format; empty when the file has a format's shape
  bool headerProtected = false;  // the image's own header marks it write-protected
};
FloppyShape FloppyShapeOf(const ImageLook& look);

struct HardDiskShape {
  const char* format = "ZHD";
  std::uint64_t dataOffset = 256;
  std::string problem;  // too short for any header; empty otherwise
  std::string warning;  // a ZHD header describing a disk far larger than the file
};
HardDiskShape HardDiskShapeOf(const ImageLook& look);

}  // namespace mhwhost
