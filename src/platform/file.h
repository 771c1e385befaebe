// Files as the module sees them: 32-bit handles, 0 for "no file", every failure a 0 result.
// A handle is never 1 either, so that callers can use 1 as a marker of their own.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>

namespace platform {

// The platform's path limit: every path field of the module is this many bytes.
inline constexpr int kPathSize = 260;

// Copies at most size - 1 characters and always terminates; used for every fixed path field.
inline void CopyString(char* destination, const char* source, int size) {
  if (size <= 0) return;
  int n = 0;
  if (source != nullptr)
    while (n < size - 1 && source[n] != '\0') ++n;
  std::memmove(destination, source, static_cast<std::size_t>(n));
  destination[n] = '\0';
}

using FileHandle = std::uint32_t;
inline constexpr FileHandle kNoFile = 0;

FileHandle OpenFileRead(const char* path);        // existing file, shared read/write
FileHandle OpenFileReadWrite(const char* path);   // existing file, shared read/write
FileHandle CreateFileTruncate(const char* path);  // created anew or truncated
// Positions and sizes are 64-bit: images of 2 GiB and more are read and written like others.
bool SeekFile(FileHandle file, std::uint64_t offset);  // from the start; false on failure
std::uint64_t FileSizeOf(FileHandle file);             // 0 on failure
std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t count);  // bytes read
std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t count);
// One positioned read or write at `offset`, in place of a seek and a read or write; the file
// position afterwards is unspecified.
std::uint32_t ReadFileAt(FileHandle file, std::uint64_t offset, void* buffer, std::uint32_t count);
std::uint32_t WriteFileAt(FileHandle file, std::uint64_t offset, const void* buffer,
                          std::uint32_t count);
bool FlushFile(FileHandle file);
void CloseFile(FileHandle file);

bool FileExists(const char* path);
// True when the file exists but is marked read-only (no write permission bit on POSIX, even for
// a user who could write it anyway).
bool FileIsReadOnly(const char* path);
bool RemoveFile(const char* path);

// Gives the file at `path` new contents without ever leaving half of them: `write` fills a new
// file beside the file that `path` names (links followed, so a link stays a link), which takes
// the old file's owner, group and mode, is flushed, and replaces it in one rename. A missing file
// is created. Refused, with nothing changed, when the file is marked read-only or the user could
// not write it or its folder. No temporary file stays behind, whatever fails.
bool ReplaceFileContents(const char* path, const std::function<bool(FileHandle)>& write);

// A fresh, empty file with a unique name in `folder` (the temporary folder when null or empty);
// its path goes to `path` (at least 260 bytes). False when none could be made.
bool CreateUniqueFile(const char* folder, const char* prefix, char* path);

}  // namespace platform
