#include "formats/buffered_image_reader.h"

#include <cstring>
#include <new>

namespace disk {

BufferedImageReader::BufferedImageReader(ImageReader& inner)
    : inner_(inner), window_(new (std::nothrow) std::uint8_t[kWindow]) {}

std::uint64_t BufferedImageReader::Size() {
  if (!sized_) {
    size_ = inner_.Size();
    sized_ = true;
  }
  return size_;
}

std::uint32_t BufferedImageReader::Read(std::uint32_t offset, void* buffer, std::uint32_t count) {
  const std::uint64_t end = std::uint64_t{offset} + count;
  if (window_ != nullptr && offset >= windowStart_ &&
      end <= std::uint64_t{windowStart_} + windowSize_) {
    std::memcpy(buffer, window_.get() + (offset - windowStart_), count);
    return count;
  }
  // Large reads gain nothing from the window.
  if (window_ == nullptr || count > kWindow / 2) return inner_.Read(offset, buffer, count);
  windowStart_ = offset;
  windowSize_ = inner_.Read(offset, window_.get(), kWindow);
  const std::uint32_t copied = count < windowSize_ ? count : windowSize_;
  if (copied != 0) std::memcpy(buffer, window_.get(), copied);
  return copied;
}

}  // namespace disk
