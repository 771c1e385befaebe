#include "fdc/controller_rig.h"

namespace testing_support {

ControllerRig* ControllerRig::active_ = nullptr;

std::uint8_t MHW_CALL ControllerRig::ReadByte(std::uint32_t linear) {
  return active_->memory_[linear % kMemorySize];
}
void MHW_CALL ControllerRig::WriteByte(std::uint32_t linear, std::uint8_t value) {
  active_->memory_[linear % kMemorySize] = value;
}
void MHW_CALL ControllerRig::Raise(std::uint32_t line) {
  active_->lines_.push_back(line);
}

ControllerRig::ControllerRig() : memory_(kMemorySize, 0) {
  active_ = this;
  dma.Connect({&ReadByte, &WriteByte});
  dma.Reset();
  disk::FloppyController::Wiring wiring;
  for (int unit = 0; unit < 2; ++unit) {
    drives_[unit] = std::make_unique<disk::FloppyDrive>(static_cast<std::uint32_t>(unit));
    drives_[unit]->Reset();
    wiring.drives[unit] = drives_[unit].get();
  }
  wiring.dma = &dma;
  wiring.raiseInterrupt = &Raise;
  fdc.Connect(wiring);
  fdc.Reset();
}

ControllerRig::~ControllerRig() {
  for (auto& drive : drives_) drive->Eject();
  active_ = nullptr;
}

void ControllerRig::Out(std::uint16_t port, std::uint8_t value) {
  if (port < 0x40 || port == 0x439)
    dma.WritePort(port, value);
  else
    fdc.WritePort(port, value);
}

std::uint8_t ControllerRig::In(std::uint16_t port) {
  return port < 0x40 || port == 0x439 ? dma.ReadPort(port) : fdc.ReadPort(port);
}

void ControllerRig::Tick(int count) {
  for (int i = 0; i < count; ++i) fdc.Tick();
}

std::vector<std::uint32_t> ControllerRig::TakeInterruptLines() {
  std::vector<std::uint32_t> lines;
  lines.swap(lines_);
  return lines;
}

bool ControllerRig::Mount(int unit, const std::string& path) {
  return drives_[unit]->LoadImage(path.c_str()) != 0;
}

std::vector<std::uint8_t> ControllerRig::Memory(std::uint32_t at, std::uint32_t size) const {
  return {memory_.begin() + at, memory_.begin() + at + size};
}

}  // namespace testing_support
