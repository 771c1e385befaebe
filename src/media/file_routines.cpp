#include "media/file_routines.h"

#include <atomic>
#include <cstring>

namespace disk {
namespace {

std::atomic<int> gCallsUntilFailure{0};

// True when this call is the one a test asked to fail.
bool InjectedFailure() {
  int left = gCallsUntilFailure.load(std::memory_order_relaxed);
  while (left > 0) {
    if (gCallsUntilFailure.compare_exchange_weak(left, left - 1)) return left == 1;
  }
  return false;
}

}  // namespace

void FailFileCallAfter(int calls) {
  gCallsUntilFailure.store(calls < 0 ? 0 : calls);
}

FileHandle OpenImageRead(const char* path) {
  return InjectedFailure() ? platform::kNoFile : platform::OpenFileRead(path);
}

FileHandle OpenImageReadWrite(const char* path) {
  return InjectedFailure() ? platform::kNoFile : platform::OpenFileReadWrite(path);
}

FileHandle CreateImageFile(const char* path) {
  // An existing file marked read-only is never overwritten, even by a user who could.
  if (InjectedFailure() || platform::FileIsReadOnly(path)) return platform::kNoFile;
  return platform::CreateFileTruncate(path);
}

FileHandle OpenImageAsMarked(const char* path, bool& readOnly) {
  readOnly = platform::FileIsReadOnly(path);
  FileHandle file = readOnly ? platform::kNoFile : OpenImageReadWrite(path);
  if (file == platform::kNoFile) {
    file = OpenImageRead(path);
    readOnly = true;
  }
  return file;
}

std::uint32_t SeekFailed(FileHandle file, std::uint64_t offset) {
  if (file == platform::kNoFile) return 0;
  if (InjectedFailure()) return 1;
  return platform::SeekFile(file, offset) ? 0 : 1;
}

std::uint64_t FileSize(FileHandle file) {
  return InjectedFailure() ? 0 : platform::FileSizeOf(file);
}

void CloseFile(FileHandle file) {
  platform::CloseFile(file);
}

std::uint32_t ReadFileBytes(FileHandle file, void* buffer, std::uint32_t count) {
  return InjectedFailure() ? 0 : platform::ReadFile(file, buffer, count);
}

std::uint32_t ReadFileBytesAt(FileHandle file, std::uint64_t offset, void* buffer,
                              std::uint32_t count) {
  if (file == platform::kNoFile) return 0;
  return InjectedFailure() ? 0 : platform::ReadFileAt(file, offset, buffer, count);
}

std::uint32_t WriteFileBytes(FileHandle file, const void* buffer, std::uint32_t count) {
  return InjectedFailure() ? 0 : platform::WriteFile(file, buffer, count);
}

std::uint32_t WriteFileBytesAt(FileHandle file, std::uint64_t offset, const void* buffer,
                               std::uint32_t count) {
  if (file == platform::kNoFile) return 0;
  return InjectedFailure() ? 0 : platform::WriteFileAt(file, offset, buffer, count);
}

bool ReplaceImageFile(const char* path, const std::function<bool(FileHandle)>& write) {
  // The call after the contents stands for the platform's own steps (flush, rename) failing.
  return !InjectedFailure() && platform::ReplaceFileContents(path, [&write](FileHandle file) {
    return write(file) && !InjectedFailure();
  });
}

std::uint64_t FileImageReader::Size() {
  return FileSize(file_);
}

std::uint32_t FileImageReader::Read(std::uint32_t offset, void* buffer, std::uint32_t count) {
  if (offset < knownSize_ && count <= knownSize_ - offset) {
    std::memcpy(buffer, knownStart_ + offset, count);
    return count;
  }
  return ReadFileBytesAt(file_, offset, buffer, count);
}

}  // namespace disk
