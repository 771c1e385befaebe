// The floppy controller and the DMA controller on a bench of their own: guest memory, two
// drives and an interrupt line log, driven through the chips' ports and ticks only, the way the
// guest drives them. One rig exists at a time (the memory bus is a pair of plain functions).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "fdc/dma_controller.h"
#include "fdc/floppy_controller.h"
#include "fdd/floppy_drive.h"

namespace testing_support {

class ControllerRig {
 public:
  static constexpr std::uint32_t kMemorySize = 1u << 21;  // addresses wrap at 2 MiB

  ControllerRig();
  ~ControllerRig();
  ControllerRig(const ControllerRig&) = delete;
  ControllerRig& operator=(const ControllerRig&) = delete;

  // Guest port access and host ticks.
  void Out(std::uint16_t port, std::uint8_t value);
  std::uint8_t In(std::uint16_t port);
  void Tick(int count = 1);
  std::vector<std::uint32_t> TakeLines();

  bool Mount(int unit, const std::string& path);
  disk::FloppyDrive& drive(int unit) { return *drives_[unit]; }

  // The guest's side of the handshake: each byte waits for the main status the controller
  // must show for it (a test failure otherwise). Command bytes need RQM with DIO clear; result
  // bytes need 0xD0.
  void Command(std::initializer_list<std::uint8_t> bytes);
  std::vector<std::uint8_t> Results(int count);
  // A command with an interrupt: the bytes, three ticks (the interrupt on the third), the
  // seven result bytes.
  std::vector<std::uint8_t> Run(std::initializer_list<std::uint8_t> bytes);
  // Seek and sense interrupt status: returns ST0 and PCN.
  std::vector<std::uint8_t> SeekTo(std::uint8_t unitByte, std::uint8_t cylinder);

  // Programs a DMA channel through its ports: address (24 bits), count (bytes - 1), unmasked.
  void ProgramDma(int channel, std::uint32_t address, std::uint16_t count);

  std::uint8_t* memory() { return memory_.data(); }
  std::vector<std::uint8_t> Memory(std::uint32_t at, std::uint32_t size) const;

  disk::DmaController dma;
  disk::FloppyController fdc;

 private:
  std::vector<std::uint8_t> memory_;
  std::unique_ptr<disk::FloppyDrive> drives_[2];
  std::vector<std::uint32_t> lines_;
  static ControllerRig* active_;
  static std::uint8_t MHW_CALL ReadByte(std::uint32_t linear);
  static void MHW_CALL WriteByte(std::uint32_t linear, std::uint8_t value);
  static void MHW_CALL Raise(std::uint32_t line);
};

// Data port and main status port of the 1MB interface.
inline constexpr std::uint16_t kData = 0x92;
inline constexpr std::uint16_t kStatus = 0x90;

}  // namespace testing_support
