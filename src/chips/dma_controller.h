// The machine's uPD8237 DMA controller as the guest programs it. It is not a bus master: bytes
// move only when the floppy controller calls one of the two transfers.
#pragma once

#include <cstdint>

namespace disk {

class DmaController {
 public:
  static constexpr int kChannels = 4;

  // How the controller reaches guest memory: byte accessors by linear address, given `context`.
  // Without them reads give 0 and writes vanish.
  struct Bus {
    void* context = nullptr;
    std::uint8_t (*readByte)(void* context, std::uint32_t linear) = nullptr;
    void (*writeByte)(void* context, std::uint32_t linear, std::uint8_t value) = nullptr;
  };

  DmaController() = default;
  virtual ~DmaController() = default;
  DmaController(const DmaController&) = default;
  DmaController& operator=(const DmaController&) = default;

  void Connect(const Bus& bus) { bus_ = bus; }
  void Reset();
  // The guest's ports, below: inline, so that a handler of one port number is that port's case.
  void WritePort(std::uint16_t port, std::uint8_t value);
  std::uint8_t ReadPort(std::uint16_t port);

  // Both return true when the transfer is finished: channel masked or terminal count reached.
  bool TransferToMemory(int channel, const std::uint8_t* source, std::uint32_t length);
  bool TransferFromMemory(int channel, std::uint8_t* destination, std::uint32_t length);

  // Takes over every register that `after` holds differently from `before`: what an operation
  // run on a copy of this controller changed.
  void TakeChangedRegisters(const DmaController& before, const DmaController& after);

  std::uint32_t GuestAddress(int channel) const {
    return (static_cast<std::uint32_t>(bank[channel]) << 16) | address[channel];
  }

  // Registers, public: the floppy BIOS programs a channel directly.
  std::uint8_t status = 0;
  std::uint16_t address[kChannels] = {};
  std::uint16_t count[kChannels] = {};  // bytes still to move, minus one
  std::uint8_t bank[kChannels] = {};
  std::uint32_t masked[kChannels] = {};
  std::uint32_t flipFlop = 0;
  std::uint8_t port439 = 0;

 private:
  template <typename MoveByte>
  bool Transfer(int channel, std::uint32_t length, MoveByte move);
  // A 16-bit register moves a byte at a time, low byte first.
  void WriteThroughFlipFlop(std::uint16_t& reg, std::uint8_t value) {
    if (flipFlop == 0)
      reg = static_cast<std::uint16_t>((reg & 0xFF00) | value);
    else
      reg = static_cast<std::uint16_t>((reg & 0x00FF) | (value << 8));
    flipFlop ^= 1;
  }
  std::uint8_t ReadThroughFlipFlop(std::uint16_t reg) {
    const auto value = static_cast<std::uint8_t>(flipFlop == 0 ? reg : reg >> 8);
    flipFlop ^= 1;
    return value;
  }

  // The address and count ports 0x01-0x0F: odd, four per channel, the count one above.
  static bool IsChannelPort(std::uint16_t port) {
    return port >= 0x01 && port <= 0x0F && (port & 1) != 0;
  }
  static int ChannelOfPort(std::uint16_t port) { return (port >> 2) & 3; }
  static bool IsCountPort(std::uint16_t port) { return (port & 2) != 0; }

  Bus bus_;
};

inline void DmaController::WritePort(std::uint16_t port, std::uint8_t value) {
  if (IsChannelPort(port)) {
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

inline std::uint8_t DmaController::ReadPort(std::uint16_t port) {
  if (IsChannelPort(port)) {
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

}  // namespace disk
