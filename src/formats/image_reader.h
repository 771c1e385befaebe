// The narrow view through which the image formats see an image: its size and random-access
// reads. The formats never touch a file themselves, so they run as well over a byte buffer.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace disk {

class ImageReader {
 public:
  virtual ~ImageReader() = default;
  virtual std::uint64_t Size() = 0;
  // Copies up to count bytes from offset into buffer; returns how many it copied (fewer at the
  // end of the image or on a failure).
  virtual std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) = 0;

  // True when all count bytes could be read.
  bool ReadExact(std::uint32_t offset, void* buffer, std::uint32_t count) {
    return Read(offset, buffer, count) == count;
  }
};

// Appends count bytes from offset to `out`; bytes the image does not hold come out as zeros, as
// a drive reads them.
inline void AppendImageBytes(ImageReader& reader, std::uint32_t offset, std::uint32_t count,
                             std::vector<std::uint8_t>& out) {
  const std::size_t at = out.size();
  out.resize(at + count, 0);
  reader.Read(offset, out.data() + at, count);
}

// An image held in memory (tests, the fuzzer).
class MemoryImageReader final : public ImageReader {
 public:
  MemoryImageReader(const std::uint8_t* bytes, std::uint32_t size) : bytes_(bytes), size_(size) {}

  std::uint64_t Size() override { return size_; }
  std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) override {
    if (offset >= size_) return 0;
    std::uint32_t available = size_ - offset;
    if (count > available) count = available;
    if (count != 0) std::memcpy(buffer, bytes_ + offset, count);
    return count;
  }

 private:
  const std::uint8_t* bytes_;
  std::uint32_t size_;
};

}  // namespace disk
