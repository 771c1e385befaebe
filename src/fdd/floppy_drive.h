// One emulated floppy drive with the disk inserted in it.
#pragma once

#include <cstdint>

namespace disk {

class FloppyDrive {
 public:
  explicit FloppyDrive(std::uint32_t unitNumber) : unit(unitNumber) {}
  virtual ~FloppyDrive() = default;

  std::uint32_t unit;
};

}  // namespace disk
