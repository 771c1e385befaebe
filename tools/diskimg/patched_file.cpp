#include "patched_file.h"

#include <algorithm>
#include <cstring>

#include "progress.h"

namespace diskimg {
namespace {

constexpr std::uint32_t kChunk = 1 << 20;

}  // namespace

PatchedFile::~PatchedFile() {
  Close();
}

void PatchedFile::Close() {
  if (file_ != platform::kNoFile) platform::CloseFile(file_);
  file_ = platform::kNoFile;
}

bool PatchedFile::OpenFile(const std::string& path) {
  file_ = platform::OpenFileRead(path.c_str());
  if (file_ == platform::kNoFile) return false;
  baseSize_ = platform::FileSizeOf(file_);
  return true;
}

void PatchedFile::OpenMemory(std::vector<std::uint8_t> bytes, std::uint64_t size) {
  memory_ = std::move(bytes);
  baseSize_ = std::max<std::uint64_t>(size, memory_.size());
}

std::uint64_t PatchedFile::Size() const {
  std::uint64_t size = baseSize_;
  if (!patches_.empty()) {
    const auto& last = *patches_.rbegin();
    size = std::max<std::uint64_t>(size, last.first + last.second.size());
  }
  return size;
}

bool PatchedFile::ReadBase(std::uint64_t offset, std::span<std::uint8_t> out) const {
  std::fill(out.begin(), out.end(), 0);
  if (offset >= baseSize_) return true;
  const std::size_t count =
      static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), baseSize_ - offset));
  if (file_ == platform::kNoFile) {
    if (offset < memory_.size()) {
      const std::size_t n = std::min<std::size_t>(count, memory_.size() - offset);
      std::memcpy(out.data(), memory_.data() + offset, n);
    }
    return true;
  }
  for (std::size_t done = 0; done < count;) {
    const auto piece = static_cast<std::uint32_t>(std::min<std::size_t>(count - done, kChunk));
    if (!platform::SeekFile(file_, offset + done) ||
        platform::ReadFile(file_, out.data() + done, piece) != piece)
      return false;
    done += piece;
  }
  return true;
}

bool PatchedFile::Read(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (!ReadBase(offset, out)) return false;
  const std::uint64_t end = offset + out.size();
  auto it = patches_.upper_bound(offset);
  if (it != patches_.begin()) --it;
  for (; it != patches_.end() && it->first < end; ++it) {
    const std::uint64_t from = std::max(offset, it->first);
    const std::uint64_t to = std::min<std::uint64_t>(end, it->first + it->second.size());
    if (from < to)
      std::memcpy(out.data() + (from - offset), it->second.data() + (from - it->first), to - from);
  }
  return true;
}

void PatchedFile::Write(std::uint64_t offset, std::span<const std::uint8_t> in) {
  if (in.empty()) return;
  std::uint64_t start = offset;
  std::uint64_t end = offset + in.size();
  // Every change the new one touches is merged into one.
  auto first = patches_.upper_bound(offset);
  if (first != patches_.begin() &&
      std::prev(first)->first + std::prev(first)->second.size() > offset)
    --first;
  auto last = first;
  while (last != patches_.end() && last->first < end) {
    start = std::min(start, last->first);
    end = std::max<std::uint64_t>(end, last->first + last->second.size());
    ++last;
  }
  std::vector<std::uint8_t> merged(static_cast<std::size_t>(end - start));
  if (first != last) Read(start, merged);  // a failed base read is overwritten below anyway
  std::memcpy(merged.data() + (offset - start), in.data(), in.size());
  patches_.erase(first, last);
  patches_.emplace(start, std::move(merged));
}

bool PatchedFile::WriteTo(const std::string& path, std::span<const std::uint8_t> header,
                          std::uint64_t from, std::uint64_t length, Progress& progress) {
  progress.Begin("writing " + path);
  const bool written = platform::ReplaceFileContents(path.c_str(), [&](platform::FileHandle out) {
    if (!header.empty() &&
        platform::WriteFile(out, header.data(), static_cast<std::uint32_t>(header.size())) !=
            header.size())
      return false;
    std::vector<std::uint8_t> chunk(kChunk);
    for (std::uint64_t done = 0; done < length;) {
      const auto piece = static_cast<std::uint32_t>(std::min<std::uint64_t>(length - done, kChunk));
      std::span<std::uint8_t> part(chunk.data(), piece);
      if (!Read(from + done, part) || platform::WriteFile(out, part.data(), piece) != piece)
        return false;
      done += piece;
      progress.Update(done, length);
    }
    Close();
    return true;
  });
  progress.Done();
  return written;
}

}  // namespace diskimg
