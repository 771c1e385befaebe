#include "image_look.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace mhwhost {
namespace {

namespace fs = std::filesystem;

// Headerless dumps by size; each may also follow a 4096-byte leading block.
constexpr std::uint64_t kHeaderlessSizes[] = {655360,  737280,  1021696, 1025024,
                                              1228800, 1261568, 1419264, 1474560};
constexpr std::uint64_t kLeadingBlock = 4096;
constexpr std::uint64_t kFloppyMinimum = 288;  // the part of the header every format reads
constexpr std::uint64_t kD88Header = 688;
constexpr std::uint64_t kHardDiskMinimum = 512;
constexpr std::uint64_t kZhdCylinderBytes = 8 * 33 * 256;
// A header describing more than twice the file's data and this much besides is implausible; a
// small image that is mostly header is not.
constexpr std::uint64_t kSlack = 1 << 20;

bool Starts(const ImageLook& look, const char* signature) {
  const std::size_t length = std::strlen(signature) + 1;  // with its NUL
  return look.head.size() >= length && std::memcmp(look.head.data(), signature, length) == 0;
}

std::string Bytes(std::uint64_t count) {
  return std::to_string(count) + " bytes";
}

}  // namespace

std::uint32_t ImageLook::U32(std::size_t at) const {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4 && at + i < head.size(); ++i)
    value |= static_cast<std::uint32_t>(head[at + i]) << (8 * i);
  return value;
}

ImageLook LookAt(const std::string& path) {
  ImageLook look;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) {
    look.problem = "file missing";
    return look;
  }
  if (fs::is_directory(status)) {
    look.problem = "a folder, not an image file";
    return look;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    look.problem = std::string("unreadable: ") + std::strerror(errno);
    return look;
  }
  look.head.resize(kLeadingBlock);
  look.head.resize(std::fread(look.head.data(), 1, look.head.size(), file));
  if (std::ferror(file) != 0) look.problem = std::string("unreadable: ") + std::strerror(errno);
  std::fclose(file);
  look.size = fs::file_size(path, error);
  const fs::perms anyWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  look.readOnly = (status.permissions() & anyWrite) == fs::perms::none;
  return look;
}

FloppyShape FloppyShapeOf(const ImageLook& look) {
  FloppyShape shape;
  const std::uint64_t size = look.size;
  if (size < kFloppyMinimum) {
    shape.problem = "too short: " + Bytes(size) + ", fewer than any floppy image format holds";
    return shape;
  }
  for (const char* revision : {"R0", "R1"}) {
    if (!Starts(look, (std::string("ZEBFDDIMAGE.") + revision).c_str())) continue;
    shape.format = std::string("MFD ") + revision;
    shape.headerProtected = look.head[0x114] != 0;
    const std::uint64_t header = revision[1] == '0' ? 68112 : 960;
    if (size < header)
      shape.problem = "too short for its MFD header: " + Bytes(size) + " of " + Bytes(header);
    return shape;
  }
  for (std::uint64_t dump : kHeaderlessSizes) {
    if (size != dump && size != dump + kLeadingBlock) continue;
    shape.format = "headerless " + std::to_string(dump) +
                   (size == dump ? std::string() : " after a 4096-byte leading block");
    return shape;
  }
  if (size >= kD88Header && look.U32(0x1C) == size) {
    shape.format = "D88";
    shape.headerProtected = look.head[0x1A] == 0x10;
    return shape;
  }
  shape.problem = "unknown format: no MFD signature, no headerless dump size (" + Bytes(size) +
                  "), and no D88 disk size equal to the file's (the field says " +
                  std::to_string(look.U32(0x1C)) + ")";
  return shape;
}

HardDiskShape HardDiskShapeOf(const ImageLook& look) {
  HardDiskShape shape;
  if (look.size < kHardDiskMinimum) {
    shape.problem = "too short: " + Bytes(look.size) + ", fewer than the " +
                    Bytes(kHardDiskMinimum) + " every hard-disk image format reads first";
  }
  if (Starts(look, "ZEBHDDIMAGE.R0")) {
    shape.format = "MHD";
    shape.dataOffset = look.U32(272);
  } else if (look.U32(0) == 0 && look.U32(8) == 4096) {
    shape.format = "HDI";
    shape.dataOffset = 4096;
  } else if (look.head.size() >= 2) {
    // ZHD has no signature: any other file is taken as one, so say when its size is implausible.
    const std::uint32_t cylinders = look.head[0] | look.head[1] << 8;
    const std::uint64_t described = cylinders * kZhdCylinderBytes;
    const std::uint64_t data = look.size > shape.dataOffset ? look.size - shape.dataOffset : 0;
    if (described > 2 * data + kSlack)
      shape.warning = "its first two bytes, read as a ZHD cylinder count, describe " +
                      std::to_string(cylinders) + " cylinders (" + Bytes(described) +
                      ") but the file holds " + Bytes(data) +
                      " after the header; is it an image of another kind? Writes far out on "
                      "that disk grow the file.";
  }
  return shape;
}

}  // namespace mhwhost
