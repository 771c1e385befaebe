#include "media/mfd_rewrite_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "formats/mfd.h"
#include "media/file_routines.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

constexpr std::uint32_t kChunk = 64 * 1024;

bool CopyRange(FileHandle from, FileHandle to, std::uint64_t begin, std::uint64_t end,
               std::uint8_t* chunk) {
  if (begin >= end) return true;
  if (SeekFailed(from, begin) != 0) return false;
  for (std::uint64_t left = end - begin; left > 0;) {
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kChunk));
    if (ReadFileBytes(from, chunk, n) != n || WriteFileBytes(to, chunk, n) != n) return false;
    left -= n;
  }
  return true;
}

bool WriteFill(FileHandle to, std::uint64_t size, std::uint8_t fillByte, std::uint8_t* chunk) {
  std::memset(chunk, fillByte, std::min<std::uint64_t>(size, kChunk));
  for (std::uint64_t left = size; left > 0;) {
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kChunk));
    if (WriteFileBytes(to, chunk, n) != n) return false;
    left -= n;
  }
  return true;
}

bool WriteNewImage(FloppyDrive& drive, const RewritePlan& plan, FileHandle out,
                   const std::uint8_t* header, std::uint32_t headerSize, std::uint8_t* chunk) {
  const std::uint64_t fileSize = FileSize(drive.file);
  if (fileSize == 0 || plan.dataStart > fileSize) return false;
  if (WriteFileBytes(out, header, headerSize) != headerSize) return false;
  bool copied;
  if (plan.keepTrackData) {
    copied = CopyRange(drive.file, out, plan.dataStart, fileSize, chunk);
  } else {
    // The data in front of the track must all be there, or the new image would shift them.
    copied = plan.trackStart <= fileSize &&
             CopyRange(drive.file, out, plan.dataStart, plan.trackStart, chunk) &&
             WriteFill(out, plan.newTrackSize, plan.fillByte, chunk) &&
             CopyRange(drive.file, out, std::min<std::uint64_t>(plan.trackEnd, fileSize), fileSize,
                       chunk);
  }
  return copied;
}

}  // namespace

RewriteResult RewriteImage(FloppyDrive& drive, const RewritePlan& plan) {
  char imagePath[sizeof drive.imagePath];
  std::memcpy(imagePath, drive.imagePath, sizeof imagePath);
  imagePath[sizeof imagePath - 1] = '\0';

  std::unique_ptr<std::uint8_t[]> chunk(new (std::nothrow) std::uint8_t[kChunk]);
  // The header is built once: written into the new image, then loaded from memory.
  const std::uint32_t headerSize = ImageHeaderSize(drive);
  std::unique_ptr<std::uint8_t[]> header(new (std::nothrow) std::uint8_t[headerSize]);
  if (chunk == nullptr || header == nullptr ||
      BuildImageHeader(drive, header.get(), headerSize) != headerSize)
    return RewriteResult::kImageUntouched;
  const bool replaced = ReplaceImageFile(imagePath, [&](FileHandle out) {
    if (!WriteNewImage(drive, plan, out, header.get(), headerSize, chunk.get())) return false;
    // Some platforms refuse to replace an open file: the image is closed first.
    CloseFile(drive.file);
    drive.file = 0;
    return true;
  });
  if (!replaced) {
    if (drive.file != 0) return RewriteResult::kImageUntouched;
    // The old image is still in place: load it again as it was.
    drive.LoadImage(imagePath);
    return RewriteResult::kReloadFailed;
  }
  return drive.LoadImage(imagePath, header.get(), headerSize) != 0 ? RewriteResult::kReloaded
                                                                   : RewriteResult::kReloadFailed;
}

}  // namespace disk
