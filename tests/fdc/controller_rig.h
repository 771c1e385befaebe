// The floppy controller and the DMA controller on a bench of their own, for what the module
// file cannot show from outside: injected file failures, real drives, transfers on a fake bus.
// Guest memory, two drives and an interrupt line log; driven through the chips' ports and ticks
// (see FdcGuest).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chips/dma_controller.h"
#include "chips/floppy_controller.h"
#include "media/drive_settings.h"
#include "media/floppy_drive.h"

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
  std::vector<std::uint32_t> TakeInterruptLines();

  bool Mount(int unit, const std::string& path);
  disk::FloppyDrive& drive(int unit) { return *drives_[unit]; }

  std::uint8_t* memory() { return memory_.data(); }
  std::vector<std::uint8_t> Memory(std::uint32_t at, std::uint32_t size) const;

  disk::DriveSettings settings;  // units 0 and 1 take image files unless a test says otherwise
  disk::DmaController dma;
  disk::FloppyController fdc;

 private:
  std::vector<std::uint8_t> memory_;
  std::unique_ptr<disk::FloppyDrive> drives_[2];
  std::vector<std::uint32_t> lines_;
};

}  // namespace testing_support
