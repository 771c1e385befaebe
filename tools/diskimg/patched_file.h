// An image file as the tool edits it: the bytes of a base (an open file, or bytes built in
// memory with zeros after them) with changes laid over them, which reach a file only when it is
// written whole through the platform's safe replace (a temporary file beside the target, renamed
// over it). So a command that fails half-way, or runs with --dry-run, leaves the file untouched.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "platform/file.h"

namespace diskimg {

class Progress;

class PatchedFile {
 public:
  PatchedFile() = default;
  ~PatchedFile();
  PatchedFile(const PatchedFile&) = delete;
  PatchedFile& operator=(const PatchedFile&) = delete;

  // An existing file, read as needed; false when it cannot be opened.
  bool OpenFile(const std::string& path);
  // Bytes built in memory, followed by zeros up to `size` bytes in all.
  void OpenMemory(std::vector<std::uint8_t> bytes, std::uint64_t size);

  // Lets go of the open file (its bytes read as zeros afterwards), so that it can be replaced.
  void Close();

  std::uint64_t Size() const;  // the base, grown by changes past its end
  // Copies count bytes from offset with the changes laid over them; bytes past the end read as
  // zero. False when the base could not be read.
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const;
  void Write(std::uint64_t offset, std::span<const std::uint8_t> in);
  bool Changed() const { return !patches_.empty(); }

  // Writes `header`, then `length` bytes of this file from `from`, to the file at `path` through
  // the safe replace. The open file is closed before the rename (a file open elsewhere cannot be
  // renamed over on every platform), so this file is spent afterwards.
  bool WriteTo(const std::string& path, std::span<const std::uint8_t> header, std::uint64_t from,
               std::uint64_t length, Progress& progress);
  // The whole file, changes included, back over `path`.
  bool Commit(const std::string& path, Progress& progress) {
    return WriteTo(path, {}, 0, Size(), progress);
  }

 private:
  bool ReadBase(std::uint64_t offset, std::span<std::uint8_t> out) const;

  platform::FileHandle file_ = platform::kNoFile;
  std::uint64_t baseSize_ = 0;
  std::vector<std::uint8_t> memory_;
  // Changes by offset; they never overlap (a write over others merges with them).
  std::map<std::uint64_t, std::vector<std::uint8_t>> patches_;
};

}  // namespace diskimg
