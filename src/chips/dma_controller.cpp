#include "chips/dma_controller.h"

namespace disk {
namespace {

// Channel of an address or count port 0x01-0x0F: ports step by 4 per channel.
int ChannelOfPort(std::uint16_t port) {
  return (port >> 2) & 3;
}
bool IsCountPort(std::uint16_t port) {
  return (port & 2) != 0;
}

}  // namespace

void DmaController::Reset() {
  port439 = 0x80;
  status = 0;
  for (auto& m : masked) m = 0;
}

void DmaController::WriteThroughFlipFlop(std::uint16_t& reg, std::uint8_t value) {
  if (flipFlop == 0) {
    reg = static_cast<std::uint16_t>((reg & 0xFF00) | value);
  } else {
    reg = static_cast<std::uint16_t>((reg & 0x00FF) | (value << 8));
  }
  flipFlop ^= 1;
}

std::uint8_t DmaController::ReadThroughFlipFlop(std::uint16_t reg) {
  std::uint8_t value = static_cast<std::uint8_t>(flipFlop == 0 ? reg : reg >> 8);
  flipFlop ^= 1;
  return value;
}

void DmaController::WritePort(std::uint16_t port, std::uint8_t value) {
  if (port >= 0x01 && port <= 0x0F && (port & 1) != 0) {
    int channel = ChannelOfPort(port);
    WriteThroughFlipFlop(IsCountPort(port) ? count[channel] : address[channel], value);
    return;
  }
  switch (port) {
    case 0x15:  // single mask
      masked[value & 3] = (value & 4) != 0 ? 1 : 0;
      break;
    case 0x19:  // clear the byte pointer
      flipFlop = 0;
      break;
    case 0x1F:  // all masks
      for (int i = 0; i < kChannels; ++i) masked[i] = (value >> i) & 1;
      break;
    // The bank registers are not in channel order: 0x27 belongs to channel 0.
    case 0x21:
      bank[1] = value;
      break;
    case 0x23:
      bank[2] = value;
      break;
    case 0x25:
      bank[3] = value;
      break;
    case 0x27:
      bank[0] = value;
      break;
    case 0x439:
      port439 = value;
      break;
    default:  // command, request, mode and the rest have no effect here
      break;
  }
}

std::uint8_t DmaController::ReadPort(std::uint16_t port) {
  if (port >= 0x01 && port <= 0x0F && (port & 1) != 0) {
    int channel = ChannelOfPort(port);
    return ReadThroughFlipFlop(IsCountPort(port) ? count[channel] : address[channel]);
  }
  switch (port) {
    case 0x11:
      return status;
    case 0x439:
      return port439;
    default:
      return 0;  // 0x1B and the bank registers read 0
  }
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
