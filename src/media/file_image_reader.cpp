#include "media/file_image_reader.h"
#include "media/file_routines.h"

namespace disk {

std::uint64_t FileImageReader::Size() {
  return FileSize(file_);
}

std::uint32_t FileImageReader::Read(std::uint32_t offset, void* buffer, std::uint32_t count) {
  if (SeekFailed(file_, offset) != 0) return 0;
  return ReadFileBytes(file_, buffer, count);
}

}  // namespace disk
