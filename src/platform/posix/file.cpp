// 64-bit file positions on 32-bit systems as well.
#define _FILE_OFFSET_BITS 64

#include "platform/file_backends.h"

#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace platform::native {
namespace {

static_assert(sizeof(off_t) == 8, "file positions must be 64-bit");

// Descriptors start at 0; shifting them by 2 keeps 0 and 1 free for "no file" and callers' marks.
constexpr int kHandleBias = 2;

FileHandle FromFd(int fd) {
  return fd < 0 ? kNoFile : static_cast<FileHandle>(fd + kHandleBias);
}
int ToFd(FileHandle file) {
  return static_cast<int>(file) - kHandleBias;
}

FileHandle OpenWith(const char* path, int flags) {
  if (path == nullptr || *path == '\0') return kNoFile;
  int fd;
  do fd = ::open(path, flags | O_CLOEXEC, 0644);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return kNoFile;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return kNoFile;
  }
  return FromFd(fd);
}

// Repeats a read or write until `count` bytes moved, the file ended or an error came; returns
// the bytes moved.
template <typename Buffer, typename Call>
std::uint32_t Repeat(FileHandle file, Buffer* p, std::uint32_t count, Call call) {
  if (file == kNoFile) return 0;
  std::uint32_t done = 0;
  while (done < count) {
    ssize_t n = call(ToFd(file), p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::uint32_t>(n);
  }
  return done;
}

}  // namespace

FileHandle OpenFileRead(const char* path) {
  return OpenWith(path, O_RDONLY);
}
FileHandle OpenFileReadWrite(const char* path) {
  return OpenWith(path, O_RDWR);
}
FileHandle CreateFileTruncate(const char* path) {
  return OpenWith(path, O_RDWR | O_CREAT | O_TRUNC);
}

bool SeekFile(FileHandle file, std::uint64_t offset) {
  if (file == kNoFile || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return ::lseek(ToFd(file), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::uint64_t FileSizeOf(FileHandle file) {
  struct stat st;
  if (file == kNoFile || ::fstat(ToFd(file), &st) != 0 || st.st_size < 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

std::uint32_t ReadFile(FileHandle file, void* buffer, std::uint32_t count) {
  return Repeat(file, static_cast<char*>(buffer), count, ::read);
}

std::uint32_t WriteFile(FileHandle file, const void* buffer, std::uint32_t count) {
  return Repeat(file, static_cast<const char*>(buffer), count, ::write);
}

std::uint32_t ReadFileAt(FileHandle file, std::uint64_t offset, void* buffer, std::uint32_t count) {
  if (offset > static_cast<std::uint64_t>(INT64_MAX) - count) return 0;
  char* const start = static_cast<char*>(buffer);
  return Repeat(file, start, count, [&](int fd, char* p, std::size_t n) {
    return ::pread(fd, p, n, static_cast<off_t>(offset + static_cast<std::uint64_t>(p - start)));
  });
}

std::uint32_t WriteFileAt(FileHandle file, std::uint64_t offset, const void* buffer,
                          std::uint32_t count) {
  if (offset > static_cast<std::uint64_t>(INT64_MAX) - count) return 0;
  const char* const start = static_cast<const char*>(buffer);
  return Repeat(file, start, count, [&](int fd, const char* p, std::size_t n) {
    return ::pwrite(fd, p, n, static_cast<off_t>(offset + static_cast<std::uint64_t>(p - start)));
  });
}

bool FlushFile(FileHandle file) {
  return file != kNoFile && ::fsync(ToFd(file)) == 0;
}

void CloseFile(FileHandle file) {
  if (file != kNoFile) ::close(ToFd(file));
}

bool FileExists(const char* path) {
  struct stat st;
  return path != nullptr && ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool FileIsReadOnly(const char* path) {
  struct stat st;
  if (path == nullptr || ::stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path, W_OK) != 0;
}

bool RemoveFile(const char* path) {
  return ::unlink(path) == 0;
}

bool CreateUniqueFile(const char* folder, const char* prefix, char* path) {
  std::string dir = folder != nullptr ? folder : "";
  if (dir.empty()) {
    const char* tmp = ::getenv("TMPDIR");
    dir = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  }
  if (dir.back() != '/') dir += '/';
  std::string pattern = dir + prefix + "XXXXXX";
  if (pattern.size() >= 260) return false;
  char name[260];
  memcpy(name, pattern.c_str(), pattern.size() + 1);
  int fd = ::mkstemp(name);
  if (fd < 0) return false;
  ::close(fd);
  memcpy(path, name, pattern.size() + 1);
  return true;
}

}  // namespace platform::native
