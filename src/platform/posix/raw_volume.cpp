// Real floppy drives on POSIX systems: the drive's block device, read and written in place.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/raw_volume.h"

namespace platform {

bool DefaultRawVolumePath(char letter, char* path, std::uint32_t size) {
  int written = std::snprintf(path, size, "/dev/fd%d", letter - 'A');
  return written > 0 && static_cast<std::uint32_t>(written) < size;
}

namespace {

bool Transfer(char letter, std::uint32_t position, void* buffer, std::uint32_t count, bool write) {
  char path[260];
  if (!RawVolumePath(letter, path, sizeof path)) return false;
  int fd;
  do fd = ::open(path, (write ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  auto* p = static_cast<char*>(buffer);
  std::uint32_t done = 0;
  while (done < count) {
    ssize_t n = write ? ::pwrite(fd, p + done, count - done, position + done)
                      : ::pread(fd, p + done, count - done, position + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::uint32_t>(n);
  }
  ::close(fd);
  return done == count;
}

}  // namespace

bool ReadRawVolume(char letter, std::uint32_t position, void* buffer, std::uint32_t count) {
  return Transfer(letter, position, buffer, count, false);
}

bool WriteRawVolume(char letter, std::uint32_t position, const void* buffer, std::uint32_t count) {
  return Transfer(letter, position, const_cast<void*>(buffer), count, true);
}

bool Vwin32DiskTransfer(std::uintptr_t, bool, std::uint32_t, std::uint32_t, std::uint32_t, void*) {
  return false;
}

}  // namespace platform
