// The file routines every drive uses: thin wrappers over the platform whose every failure is a
// 0 result. Handles are 32-bit numbers, never 0 for an open file and never 1.
#pragma once

#include <cstdint>
#include <functional>

#include "formats/image_reader.h"
#include "platform/file.h"

namespace disk {

using FileHandle = platform::FileHandle;

FileHandle OpenImageRead(const char* path);
FileHandle OpenImageReadWrite(const char* path);
FileHandle CreateImageFile(const char* path);  // created anew, truncating an existing file
// Opens an image for reading and writing, or for reading alone when the file is marked
// read-only or refuses to open for writing (read-only media, a locked file); `readOnly` says
// which. A user's read-only mark counts even for one who could write the file anyway.
FileHandle OpenImageAsMarked(const char* path, bool& readOnly);
// 1 on a real failure; 0 on success and for handle 0 (the read that follows then returns 0).
std::uint32_t SeekFailed(FileHandle file, std::uint64_t offset);
std::uint64_t FileSize(FileHandle file);
void CloseFile(FileHandle file);
std::uint32_t ReadFileBytes(FileHandle file, void* buffer, std::uint32_t count);
std::uint32_t WriteFileBytes(FileHandle file, const void* buffer, std::uint32_t count);
// A read or write at `offset` in one call, in place of SeekFailed and ReadFileBytes or
// WriteFileBytes; 0 for handle 0.
std::uint32_t ReadFileBytesAt(FileHandle file, std::uint64_t offset, void* buffer,
                              std::uint32_t count);
std::uint32_t WriteFileBytesAt(FileHandle file, std::uint64_t offset, const void* buffer,
                               std::uint32_t count);
// Gives the file at `path` new contents that `write` puts into a new file, which then takes the
// file's place (platform::ReplaceFileContents); false on failure, the file then unchanged.
bool ReplaceImageFile(const char* path, const std::function<bool(FileHandle)>& write);

// An open image file seen by the image formats, read through the routines above.
// The first bytes of the file may be handed over already known (a header just written), so
// that reads within them cost no file call.
class FileImageReader final : public ImageReader {
 public:
  explicit FileImageReader(FileHandle file, const std::uint8_t* knownStart = nullptr,
                           std::uint32_t knownSize = 0)
      : file_(file), knownStart_(knownStart), knownSize_(knownStart != nullptr ? knownSize : 0) {}

  std::uint64_t Size() override;
  std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) override;

 private:
  FileHandle file_;
  const std::uint8_t* knownStart_;
  std::uint32_t knownSize_;
};

// Tests make the n-th file routine call from now on fail (1 = the next one); 0 turns it off.
// Opening, seeking, reading, writing, sizing and replacing (before and after the new contents)
// count; closing never fails.
void FailFileCallAfter(int calls);

}  // namespace disk
