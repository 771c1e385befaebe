// The controller's control register; the port dispatch itself is inline in the header.
#include "chips/floppy_controller.h"

namespace disk {

void FloppyController::WriteControl(std::uint8_t value) {
  control = value;
  forceReady = (value & fdc::control::kForceReady) != 0 ? 1 : 0;
  if ((value & fdc::control::kReset) != 0) Reset();
}

}  // namespace disk
