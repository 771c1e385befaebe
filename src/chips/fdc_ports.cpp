// The controller's guest ports: main status, data, control and the interface mode registers.
#include "chips/floppy_controller.h"

namespace disk {

using namespace fdc;

namespace {
// The control port reads a fixed value whatever was written.
constexpr std::uint8_t kControlReadValue = 0x74;
constexpr std::uint8_t kModeRead640KB = 0x08;
constexpr std::uint8_t kModeRead1MB = 0x0B;
constexpr std::uint8_t kMode144Read144 = 0xFF;
constexpr std::uint8_t kMode144ReadOther = 0xFE;
// Port 0xBE: bit 0 chooses the interface, bit 1 the DMA channel.
constexpr std::uint8_t kModeSelect1MB = 0x01;
constexpr std::uint8_t kModeSelectChannel2 = 0x02;
// Port 0x4BE takes 1.44 MB mode only when both bits are set.
constexpr std::uint8_t kMode144Enable = 0x11;
}  // namespace

void FloppyController::WritePort(std::uint16_t port, std::uint8_t value) {
  switch (port) {
    case port::kData1MB:
    case port::kData640KB:
      WriteDataRegister(value);
      break;
    case port::kControl1MB:
    case port::kControl640KB:
      WriteControl(value);
      break;
    case port::kInterfaceMode:
      interfaceMode = (value & kModeSelect1MB) != 0 ? kInterface1MB : kInterface640KB;
      dmaSelect = (value & kModeSelectChannel2) != 0 ? 0 : 2;
      break;
    case port::kMode144:
      if ((value & kMode144Enable) == kMode144Enable) interfaceMode = kInterface144;
      break;
    default:
      break;
  }
}

std::uint8_t FloppyController::ReadPort(std::uint16_t port) {
  switch (port) {
    case port::kStatus1MB:
    case port::kStatus640KB:
      return mainStatus;
    case port::kData1MB:
    case port::kData640KB:
      return ReadDataRegister();
    case port::kControl1MB:
    case port::kControl640KB:
      return kControlReadValue;
    case port::kInterfaceMode:
      return interfaceMode == kInterface640KB ? kModeRead640KB : kModeRead1MB;
    case port::kMode144:
      return interfaceMode == kInterface144 ? kMode144Read144 : kMode144ReadOther;
    default:
      return 0;
  }
}

void FloppyController::WriteControl(std::uint8_t value) {
  control = value;
  forceReady = (value & control::kForceReady) != 0 ? 1 : 0;
  if ((value & control::kReset) != 0) Reset();
}

}  // namespace disk
