#include "hdd/new_hard_disk_image.h"

#include <cstring>
#include <vector>

#include "hdd/hard_disk_image.h"
#include "plugin/file_routines.h"

namespace disk {
namespace {

constexpr char kComment[] = "New HD Image";
constexpr std::uint32_t kMaxSizeMB = 4095;

void PutLittleEndian(std::uint8_t* at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::int32_t CylindersForSize(std::uint32_t sizeMB) {
  std::uint32_t megabytes = sizeMB & 0xFFFF;
  if (megabytes > kMaxSizeMB) return -1;
  return static_cast<std::int32_t>(megabytes * (1u << 20) / kMhdCylinderBytes);
}

ImageResult CreateHardDiskImage(const char* path, std::uint32_t sizeMB,
                                const ImageProgress& progress) {
  std::int32_t cylinders = CylindersForSize(sizeMB);
  if (cylinders < 0) return ImageResult::kSizeRefused;

  std::uint8_t header[kMhdHeaderSize] = {};
  std::memcpy(header, kMhdSignature, sizeof kMhdSignature);
  std::memcpy(header + 16, kComment, sizeof kComment);
  PutLittleEndian(header + 272, kMhdHeaderSize, 4);
  PutLittleEndian(header + 276, static_cast<std::uint32_t>(cylinders), 4);
  PutLittleEndian(header + 280, 8, 2);
  PutLittleEndian(header + 282, 32, 2);
  PutLittleEndian(header + 284, 512, 2);

  FileHandle file = CreateImageFile(path);
  if (file == platform::kNoFile) return ImageResult::kCreateFailed;
  ImageResult result = ImageResult::kDone;
  if (WriteFileBytes(file, header, kMhdHeaderSize) != kMhdHeaderSize) {
    result = ImageResult::kWriteFailed;
  } else {
    std::vector<std::uint8_t> zeros(kMhdCylinderBytes);
    for (std::int32_t c = 0; c < cylinders; ++c) {
      if (WriteFileBytes(file, zeros.data(), kMhdCylinderBytes) != kMhdCylinderBytes) {
        result = ImageResult::kWriteFailed;
        break;
      }
      if (progress) progress(c, cylinders);
    }
  }
  CloseFile(file);
  return result;
}

}  // namespace disk
