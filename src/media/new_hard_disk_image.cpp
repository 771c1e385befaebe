#include "media/new_hard_disk_image.h"

#include <vector>

#include "formats/mhd.h"
#include "media/file_routines.h"

namespace disk {
namespace {

constexpr std::uint32_t kMaxSizeMB = 4095;
constexpr std::uint32_t kHeaderSize = mhd::kHeaderSize;
constexpr std::uint32_t kCylinderBytes = mhd::kNewCylinderBytes;

}  // namespace

std::int32_t CylindersForSize(std::uint32_t sizeMB) {
  std::uint32_t megabytes = sizeMB & 0xFFFF;
  if (megabytes > kMaxSizeMB) return -1;
  return static_cast<std::int32_t>(megabytes * (1u << 20) / kCylinderBytes);
}

ImageResult CreateHardDiskImage(const char* path, std::uint32_t sizeMB,
                                const ImageProgress& progress) {
  std::int32_t cylinders = CylindersForSize(sizeMB);
  if (cylinders < 0) return ImageResult::kSizeRefused;

  std::uint8_t header[kHeaderSize];
  BuildNewMhdHeader(static_cast<std::uint32_t>(cylinders), header);

  FileHandle file = CreateImageFile(path);
  if (file == platform::kNoFile) return ImageResult::kCreateFailed;
  ImageResult result = ImageResult::kDone;
  if (WriteFileBytes(file, header, kHeaderSize) != kHeaderSize) {
    result = ImageResult::kWriteFailed;
  } else {
    std::vector<std::uint8_t> zeros(kCylinderBytes);
    for (std::int32_t c = 0; c < cylinders; ++c) {
      if (WriteFileBytes(file, zeros.data(), kCylinderBytes) != kCylinderBytes) {
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
