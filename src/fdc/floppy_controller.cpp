#include "fdc/floppy_controller.h"

namespace disk {

// The command engine arrives with the controller's own work; until then the ports read as an
// idle controller with nothing to say.
void FloppyController::Reset() {}
void FloppyController::WritePort(std::uint16_t, std::uint8_t) {}
std::uint8_t FloppyController::ReadPort(std::uint16_t port) {
  return port == 0x90 || port == 0xC8 ? 0x80 : 0;
}
void FloppyController::Tick() {}

}  // namespace disk
