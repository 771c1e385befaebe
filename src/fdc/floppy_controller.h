// The machine's uPD765A floppy disk controller with its interface registers.
#pragma once

#include <cstdint>

namespace disk {

class FloppyController {
 public:
  FloppyController() { Reset(); }
  virtual ~FloppyController() = default;

  void Reset();
  void WritePort(std::uint16_t port, std::uint8_t value);
  std::uint8_t ReadPort(std::uint16_t port);
  void Tick();
};

}  // namespace disk
