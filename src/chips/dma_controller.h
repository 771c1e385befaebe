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
  void WriteThroughFlipFlop(std::uint16_t& reg, std::uint8_t value);
  std::uint8_t ReadThroughFlipFlop(std::uint16_t reg);

  Bus bus_;
};

}  // namespace disk
