// One emulated hard disk, backed by an image file that stays open while it is mounted.
#pragma once

#include <cstdint>

namespace disk {

class HardDiskDrive {
 public:
  explicit HardDiskDrive(std::uint32_t unitNumber) : unit(unitNumber) {}
  virtual ~HardDiskDrive() = default;

  std::uint32_t unit;
};

}  // namespace disk
