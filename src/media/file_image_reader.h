// An open image file seen by the image formats, read through the module's file routines.
#pragma once

#include <cstdint>

#include "formats/image_reader.h"

namespace disk {

class FileImageReader final : public ImageReader {
 public:
  explicit FileImageReader(std::uint32_t file) : file_(file) {}

  std::uint64_t Size() override;
  std::uint32_t Read(std::uint32_t offset, void* buffer, std::uint32_t count) override;

 private:
  std::uint32_t file_;
};

}  // namespace disk
