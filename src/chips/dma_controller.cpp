#include "chips/dma_controller.h"

namespace disk {

void DmaController::Reset() {
  port439 = 0x80;
  status = 0;
  for (auto& m : masked) m = 0;
}

template <typename MoveByte>
bool DmaController::Transfer(int channel, std::uint32_t length, MoveByte move) {
  if (channel < 0 || channel >= kChannels || masked[channel] != 0) return true;
  std::uint16_t remaining = static_cast<std::uint16_t>(count[channel] + 1);
  for (std::uint32_t i = 0; i < length && remaining != 0; ++i) {
    move(GuestAddress(channel), i);
    address[channel] = static_cast<std::uint16_t>(address[channel] + 1);
    if (address[channel] == 0) bank[channel] = static_cast<std::uint8_t>(bank[channel] + 1);
    --remaining;
  }
  count[channel] = static_cast<std::uint16_t>(remaining - 1);
  return remaining == 0;
}

bool DmaController::TransferToMemory(int channel, const std::uint8_t* source,
                                     std::uint32_t length) {
  return Transfer(channel, length, [&](std::uint32_t linear, std::uint32_t i) {
    if (bus_.writeByte != nullptr) bus_.writeByte(bus_.context, linear, source[i]);
  });
}

bool DmaController::TransferFromMemory(int channel, std::uint8_t* destination,
                                       std::uint32_t length) {
  return Transfer(channel, length, [&](std::uint32_t linear, std::uint32_t i) {
    destination[i] = bus_.readByte != nullptr ? bus_.readByte(bus_.context, linear) : 0;
  });
}

}  // namespace disk
