// An ImageReader that reads the image it wraps in large windows, so that a loader walking many
// small records (D88 sector heads, MFD blocks) costs a few reads of the file instead of one each.
#pragma once

#include <cstdint>
#include <memory>

#include "formats/image_reader.h"

namespace disk {

class BufferedImageReader final : public ImageReader {
 public:
  static constexpr std::uint32_t kWindow = 64 * 1024;

  explicit BufferedImageReader(ImageReader& inner);

  std::uint64_t Size() override;
  std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) override;

 private:
  ImageReader& inner_;
  std::unique_ptr<std::uint8_t[]> window_;  // null when it could not be had: reads pass through
  std::uint32_t windowStart_ = 0;
  std::uint32_t windowSize_ = 0;  // bytes of the window that hold the image
  std::uint64_t size_ = 0;
  bool sized_ = false;
};

}  // namespace disk
