#include <windows.h>

#include <cstring>

#include "platform/file_backends.h"

namespace platform::native {
namespace {

// Kernel handles fit in 32 bits on 64-bit Windows too (they are sign-extended), and are never
// 0 or 1 when valid.
FileHandle FromNative(HANDLE h) {
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return kNoFile;
  return static_cast<FileHandle>(reinterpret_cast<uintptr_t>(h));
}
HANDLE ToNative(FileHandle file) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(static_cast<std::int32_t>(file)));
}

// Read-only, hidden, system, archive and compressed: attribute flags the open has always passed;
// they do not matter for an existing file.
constexpr DWORD kOpenAttributes = 0x827;

FileHandle Open(const char* path, DWORD access, DWORD disposition, DWORD attributes) {
  if (path == nullptr || *path == '\0') return kNoFile;
  return FromNative(CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                disposition, attributes, nullptr));
}

}  // namespace

FileHandle OpenFileRead(const char* path) {
  return Open(path, GENERIC_READ, OPEN_EXISTING, kOpenAttributes);
}
FileHandle OpenFileReadWrite(const char* path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, kOpenAttributes);
}
FileHandle CreateFileTruncate(const char* path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

bool SeekFile(FileHandle file, std::uint64_t offset) {
  if (file == kNoFile || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(ToNative(file), position, nullptr, FILE_BEGIN) != 0;
}

std::uint64_t FileSizeOf(FileHandle file) {
  LARGE_INTEGER size;
  if (file == kNoFile || !GetFileSizeEx(ToNative(file), &size) || size.QuadPart < 0) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t count) {
  DWORD done = 0;
  if (file == kNoFile || !::ReadFile(ToNative(file), buffer, count, &done, nullptr)) return 0;
  return done;
}

std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t count) {
  DWORD done = 0;
  if (file == kNoFile || !::WriteFile(ToNative(file), buffer, count, &done, nullptr)) return 0;
  return done;
}

namespace {

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

}  // namespace

std::uint32_t ReadFileAt(FileHandle file, std::uint64_t offset, void* buffer, std::uint32_t count) {
  if (file == kNoFile || offset > static_cast<std::uint64_t>(INT64_MAX)) return 0;
  OVERLAPPED at = At(offset);
  DWORD done = 0;
  if (!::ReadFile(ToNative(file), buffer, count, &done, &at)) return 0;
  return done;
}

std::uint32_t WriteFileAt(FileHandle file, std::uint64_t offset, const void* buffer,
                          std::uint32_t count) {
  if (file == kNoFile || offset > static_cast<std::uint64_t>(INT64_MAX)) return 0;
  OVERLAPPED at = At(offset);
  DWORD done = 0;
  if (!::WriteFile(ToNative(file), buffer, count, &done, &at)) return 0;
  return done;
}

bool FlushFile(FileHandle file) {
  return file != kNoFile && FlushFileBuffers(ToNative(file)) != 0;
}

void CloseFile(FileHandle file) {
  if (file != kNoFile) CloseHandle(ToNative(file));
}

bool FileExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FileIsReadOnly(const char* path) {
  if (path == nullptr) return false;
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool RemoveFile(const char* path) {
  return DeleteFileA(path) != 0;
}

bool CreateUniqueFile(const char* folder, const char* prefix, char* path) {
  char dir[MAX_PATH];
  if (folder != nullptr && *folder != '\0') {
    if (std::strlen(folder) >= MAX_PATH) return false;
    std::strcpy(dir, folder);
  } else if (GetTempPathA(MAX_PATH, dir) == 0) {
    return false;
  }
  return GetTempFileNameA(dir, prefix, 0, path) != 0;
}

}  // namespace platform::native
