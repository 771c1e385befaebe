#include "fdd/mfd_rewrite_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "fdd/floppy_drive.h"
#include "fdd/mfd_rewrite.h"
#include "platform/file.h"
#include "plugin/file_routines.h"

namespace disk {
namespace {

constexpr std::uint32_t kChunk = 64 * 1024;
constexpr char kTempPrefix[] = "mfd";

bool CopyRange(FileHandle from, FileHandle to, std::uint64_t begin, std::uint64_t end,
               std::uint8_t* chunk) {
  if (begin >= end) return true;
  if (SeekFailed(from, static_cast<std::uint32_t>(begin)) != 0) return false;
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

// The new file goes beside the image, so that the rename stays on one file system; the
// temporary folder serves when the image's folder takes no new files.
bool CreateTempBeside(const char* imagePath, char* tempPath) {
  char folder[260];
  std::strncpy(folder, imagePath, sizeof folder - 1);
  folder[sizeof folder - 1] = '\0';
  char* cut = std::max(std::strrchr(folder, '/'), std::strrchr(folder, '\\'));
  if (cut != nullptr) {
    cut[1] = '\0';
    if (platform::CreateUniqueFile(folder, kTempPrefix, tempPath)) return true;
  }
  return platform::CreateUniqueFile(nullptr, kTempPrefix, tempPath);
}

bool WriteNewImage(FloppyDrive& drive, const RewritePlan& plan, FileHandle out,
                   std::uint8_t* chunk) {
  const std::uint32_t fileSize = FileSize(drive.file);
  if (fileSize == 0 || plan.dataStart > fileSize) return false;
  const std::uint32_t headerSize = ImageHeaderSize(drive);
  std::unique_ptr<std::uint8_t[]> header(new (std::nothrow) std::uint8_t[headerSize]);
  if (header == nullptr || BuildImageHeader(drive, header.get(), headerSize) != headerSize ||
      WriteFileBytes(out, header.get(), headerSize) != headerSize)
    return false;
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
  return copied && FlushImageFile(out);
}

}  // namespace

RewriteResult RewriteImage(FloppyDrive& drive, const RewritePlan& plan) {
  char imagePath[sizeof drive.imagePath];
  std::memcpy(imagePath, drive.imagePath, sizeof imagePath);
  imagePath[sizeof imagePath - 1] = '\0';

  std::unique_ptr<std::uint8_t[]> chunk(new (std::nothrow) std::uint8_t[kChunk]);
  char tempPath[260] = {};
  if (chunk == nullptr || !CreateTempBeside(imagePath, tempPath))
    return RewriteResult::kImageUntouched;
  const FileHandle out = OpenImageReadWrite(tempPath);
  const bool written = out != 0 && WriteNewImage(drive, plan, out, chunk.get());
  CloseFile(out);
  if (!written) {
    platform::RemoveFile(tempPath);
    return RewriteResult::kImageUntouched;
  }

  // Some platforms refuse to rename over an open file: the image is closed first.
  CloseFile(drive.file);
  drive.file = 0;
  if (!ReplaceImageFile(tempPath, imagePath)) {
    platform::RemoveFile(tempPath);
    // The old image is still in place: load it again as it was.
    drive.LoadImage(imagePath);
    return RewriteResult::kReloadFailed;
  }
  return drive.LoadImage(imagePath) != 0 ? RewriteResult::kReloaded : RewriteResult::kReloadFailed;
}

}  // namespace disk
