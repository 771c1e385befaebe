// Replacing a file by a new one written beside it: links followed, owner, group and mode kept,
// the data flushed before the rename.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/file_backends.h"

namespace platform::native {
namespace {

// The file `path` names, links followed. A path that names nothing yet stays as it is (the file
// is made there); a link that leads nowhere gives false.
bool RealTarget(const char* path, std::string& target) {
  if (char* resolved = ::realpath(path, nullptr)) {
    target = resolved;
    ::free(resolved);
    return true;
  }
  struct stat st;
  if (errno != ENOENT || ::lstat(path, &st) == 0) return false;
  target = path;
  return true;
}

std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

// Write permission by the mode bits as well, so that a file or folder marked read-only is left
// alone even by a user whom the system would let write it anyway.
bool Writable(const std::string& path, const struct stat& st, int access) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), access) == 0;
}

// A new, empty file beside `target`, made as any new file is (its mode from the umask).
int CreateBeside(const std::string& target, std::string& temp) {
  static std::atomic<unsigned> serial{0};
  const std::size_t slash = target.rfind('/');  // npos + 1 is 0: no folder part
  const std::string stem = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = stem + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
    const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The old file's owner, group and mode on the new one. Only root may give a file away; a user
// keeps at least the group where the user belongs to it. The mode comes last, since a change of
// owner clears the set-id bits.
bool TakeOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    // Neither: the new file stays the user's own, in the user's group.
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::function<bool(FileHandle)>& write) {
  std::string target;
  if (path == nullptr || *path == '\0' || !RealTarget(path, target)) return false;
  const std::string folder = FolderOf(target);
  struct stat old, dir;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || !Writable(target, old, W_OK))) return false;
  if (::stat(folder.c_str(), &dir) != 0 || !Writable(folder, dir, W_OK | X_OK)) return false;

  std::string temp;
  const int fd = CreateBeside(target, temp);
  if (fd < 0) return false;
  // The contents go through a handle of their own; the descriptor sets the owner and mode after
  // them, so that a mode without the owner's write bit cannot stop the writing.
  const FileHandle file = OpenFileReadWrite(temp.c_str());
  bool done =
      file != kNoFile && write(file) && (!exists || TakeOwnerAndMode(fd, old)) && FlushFile(file);
  CloseFile(file);
  ::close(fd);
  done = done && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!done) ::unlink(temp.c_str());
  return done;
}

}  // namespace platform::native
