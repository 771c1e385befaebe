// The two homes of the files behind platform/file.h, with the routines of that header each: the
// system's own files (posix/ or win32/) and files held in memory (memory_files.cpp). file.cpp
// chooses between them: paths by whether memory files are in use, handles by where they came
// from.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/file.h"

#define PLATFORM_FILE_ROUTINES                                                              \
  FileHandle OpenFileRead(const char* path);                                                \
  FileHandle OpenFileReadWrite(const char* path);                                           \
  FileHandle CreateFileTruncate(const char* path);                                          \
  bool SeekFile(FileHandle file, std::uint64_t offset);                                     \
  std::uint64_t FileSizeOf(FileHandle file);                                                \
  std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t count);               \
  std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t count);        \
  std::uint32_t ReadFileAt(FileHandle file, std::uint64_t offset, void* buffer,             \
                           std::uint32_t count);                                            \
  std::uint32_t WriteFileAt(FileHandle file, std::uint64_t offset, const void* buffer,      \
                            std::uint32_t count);                                           \
  bool FlushFile(FileHandle file);                                                          \
  void CloseFile(FileHandle file);                                                          \
  bool FileExists(const char* path);                                                        \
  bool FileIsReadOnly(const char* path);                                                    \
  bool RemoveFile(const char* path);                                                        \
  bool ReplaceFileContents(const char* path, const std::function<bool(FileHandle)>& write); \
  bool CreateUniqueFile(const char* folder, const char* prefix, char* path);

namespace platform::native {
PLATFORM_FILE_ROUTINES
}  // namespace platform::native

namespace platform::memory {
PLATFORM_FILE_ROUTINES
// Handles of memory files carry this bit, which no system handle has.
inline constexpr FileHandle kHandleTag = 0x40000000u;
}  // namespace platform::memory

#undef PLATFORM_FILE_ROUTINES
